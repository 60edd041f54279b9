// A small stand-in of the Twitter REST service for the tests: it listens on 127.0.0.1,
// checks the OAuth 1.0a signature of every request with the secrets it was given, and
// answers the endpoints the librarian uses with canned bodies. Switches make it answer
// with error bodies, error statuses, slow answers or dropped connections.
//
//   tarnombi-twitter-service --consumer-key KEY --consumer-secret SECRET
//       [--port N] [--pin PIN] [--log FILE]
//       [--fault PATH=KIND]...   KIND: errors, errors-string, status500, stall, drop, empty
//       [--body PATH=FILE]...    answer PATH with the file's bytes (status 200)
//
// PATH is the request path without the leading "/" and without the query
// ("1.1/statuses/update.json"), or "*" for every path. The program prints "PORT n" on
// standard output once it listens, and runs until it is terminated.

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
using Pairs = std::vector<std::pair<std::string, std::string>>;

struct Settings
{
    std::string consumerKey;
    std::string consumerSecret;
    std::string pin = "1234567";
    std::string logFile;
    std::map<std::string, std::string> faults;
    std::map<std::string, std::string> bodies;
    int port = 0;
};

Settings settings;
std::mutex stateMutex;
std::set<std::string> usedNonces;

const std::string requestTokenKey = "RequestToken1";
const std::string requestTokenSecret = "RequestSecret1";
const std::string accessTokenKey = "12345-AccessToken";
const std::string accessTokenSecret = "AccessSecret99";

const char* const authenticationError = R"({"errors":[{"code":32,"message":"Could not authenticate you."}]})";

//==============================================================================
std::string percentEncode (const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text)
    {
        if (std::isalnum (c) || c == '-' || c == '.' || c == '_' || c == '~')
            out += (char) c;
        else
        {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

int hexValue (char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecode (const std::string& text, bool plusIsSpace)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 2 < text.size() && hexValue (text[i + 1]) >= 0 && hexValue (text[i + 2]) >= 0)
        {
            out += (char) (hexValue (text[i + 1]) * 16 + hexValue (text[i + 2]));
            i += 2;
        }
        else if (text[i] == '+' && plusIsSpace)
            out += ' ';
        else
            out += text[i];
    }
    return out;
}

Pairs parseForm (const std::string& text)
{
    Pairs pairs;
    std::stringstream stream (text);
    std::string piece;
    while (std::getline (stream, piece, '&'))
    {
        if (piece.empty())
            continue;
        const auto equals = piece.find ('=');
        if (equals == std::string::npos)
            pairs.emplace_back (percentDecode (piece, true), "");
        else
            pairs.emplace_back (percentDecode (piece.substr (0, equals), true),
                                percentDecode (piece.substr (equals + 1), true));
    }
    return pairs;
}

std::string findValue (const Pairs& pairs, const std::string& name)
{
    for (const auto& [n, v] : pairs)
        if (n == name)
            return v;
    return {};
}

std::string jsonEscape (const std::string& text)
{
    std::string out;
    for (const unsigned char c : text)
    {
        if (c == '"' || c == '\\')
        {
            out += '\\';
            out += (char) c;
        }
        else if (c < 0x20)
        {
            char buffer[8];
            std::snprintf (buffer, sizeof (buffer), "\\u%04x", c);
            out += buffer;
        }
        else
            out += (char) c;
    }
    return out;
}

std::string base64 (const unsigned char* data, size_t length)
{
    std::vector<unsigned char> out (4 * ((length + 2) / 3) + 1);
    EVP_EncodeBlock (out.data(), data, (int) length);
    return reinterpret_cast<const char*> (out.data());
}

std::vector<unsigned char> fromBase64 (const std::string& text)
{
    std::vector<unsigned char> out (text.size());
    const int length = EVP_DecodeBlock (out.data(), reinterpret_cast<const unsigned char*> (text.data()), (int) text.size());
    out.resize (length > 0 ? (size_t) length : 0);
    // EVP_DecodeBlock counts the padding as data.
    for (auto it = text.rbegin(); it != text.rend() && *it == '='; ++it)
        out.pop_back();
    return out;
}

//==============================================================================
struct Request
{
    std::string method;
    std::string path; // without the leading "/" and the query
    std::string query;
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

bool readRequest (int socket, Request& request)
{
    std::string data;
    char buffer[4096];
    size_t headerEnd = std::string::npos;
    while ((headerEnd = data.find ("\r\n\r\n")) == std::string::npos)
    {
        const auto received = recv (socket, buffer, sizeof (buffer), 0);
        if (received <= 0 || data.size() > 64 * 1024)
            return false;
        data.append (buffer, (size_t) received);
    }

    std::stringstream head (data.substr (0, headerEnd));
    std::string line;
    std::getline (head, line);
    if (! line.empty() && line.back() == '\r')
        line.pop_back();

    std::stringstream requestLine (line);
    std::string target, version;
    requestLine >> request.method >> target >> version;
    if (target.empty() || target[0] != '/')
        return false;
    target = target.substr (1);
    const auto question = target.find ('?');
    request.path = target.substr (0, question);
    request.query = question == std::string::npos ? std::string() : target.substr (question + 1);

    while (std::getline (head, line))
    {
        if (! line.empty() && line.back() == '\r')
            line.pop_back();
        const auto colon = line.find (':');
        if (colon == std::string::npos)
            continue;
        auto name = line.substr (0, colon);
        std::transform (name.begin(), name.end(), name.begin(), [] (unsigned char c) { return (char) std::tolower (c); });
        auto value = line.substr (colon + 1);
        value.erase (0, value.find_first_not_of (" \t"));
        request.headers[name] = value;
    }

    if (request.headers["expect"] == "100-continue")
    {
        const char* reply = "HTTP/1.1 100 Continue\r\n\r\n";
        send (socket, reply, std::strlen (reply), MSG_NOSIGNAL);
    }

    const size_t length = (size_t) std::strtoul (request.headers["content-length"].c_str(), nullptr, 10);
    if (length > 1024 * 1024)
        return false;
    request.body = data.substr (headerEnd + 4);
    while (request.body.size() < length)
    {
        const auto received = recv (socket, buffer, sizeof (buffer), 0);
        if (received <= 0)
            return false;
        request.body.append (buffer, (size_t) received);
    }
    request.body.resize (length);
    return true;
}

void sendResponse (int socket, int status, const std::string& contentType, const std::string& body)
{
    const char* reason = status == 200 ? "OK" : status == 401 ? "Unauthorized" : status == 404 ? "Not Found" : "Error";
    std::string response = "HTTP/1.1 " + std::to_string (status) + " " + reason + "\r\nContent-Type: " + contentType
                           + "\r\nContent-Length: " + std::to_string (body.size()) + "\r\nConnection: close\r\n\r\n"
                           + body;
    size_t sent = 0;
    while (sent < response.size())
    {
        const auto n = send (socket, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += (size_t) n;
    }
}

void logLine (const std::string& line)
{
    if (settings.logFile.empty())
        return;
    const std::lock_guard<std::mutex> lock (stateMutex);
    std::ofstream log (settings.logFile, std::ios::app);
    log << line << "\n";
}

//==============================================================================
// Checks the request's signature the way the protocol describes it, independently of the
// librarian's own code: decode every parameter, then encode, sort and join them again.
// Returns an empty text when the request is acceptable, otherwise why not.
std::string checkSignature (const Request& request, const std::string& tokenSecret, Pairs& oauthParams)
{
    const auto header = request.headers.count ("authorization") ? request.headers.at ("authorization") : std::string();
    if (header.rfind ("OAuth ", 0) != 0)
        return "no OAuth header";

    std::stringstream stream (header.substr (6));
    std::string piece;
    while (std::getline (stream, piece, ','))
    {
        piece.erase (0, piece.find_first_not_of (" "));
        const auto equals = piece.find ('=');
        if (equals == std::string::npos || piece.size() < equals + 3 || piece[equals + 1] != '"' || piece.back() != '"')
            return "malformed header";
        oauthParams.emplace_back (percentDecode (piece.substr (0, equals), false),
                                  percentDecode (piece.substr (equals + 2, piece.size() - equals - 3), false));
    }

    const auto signature = findValue (oauthParams, "oauth_signature");
    if (findValue (oauthParams, "oauth_consumer_key") != settings.consumerKey)
        return "unknown consumer key";
    if (findValue (oauthParams, "oauth_signature_method") != "HMAC-SHA1")
        return "unknown signature method";
    if (findValue (oauthParams, "oauth_version") != "1.0")
        return "unknown version";

    Pairs all;
    for (const auto& p : parseForm (request.query))
        all.push_back (p);
    const auto type = request.headers.count ("content-type") ? request.headers.at ("content-type") : std::string();
    if (type.rfind ("application/x-www-form-urlencoded", 0) == 0)
        for (const auto& p : parseForm (request.body))
            all.push_back (p);
    for (const auto& p : oauthParams)
        if (p.first != "oauth_signature" && p.first != "realm")
            all.push_back (p);

    std::vector<std::pair<std::string, std::string>> encoded;
    for (const auto& [name, value] : all)
        encoded.emplace_back (percentEncode (name), percentEncode (value));
    std::sort (encoded.begin(), encoded.end());

    std::string parameters;
    for (const auto& [name, value] : encoded)
        parameters += (parameters.empty() ? "" : "&") + name + "=" + value;

    const auto host = request.headers.count ("host") ? request.headers.at ("host") : std::string();
    const auto baseString = request.method + "&" + percentEncode ("http://" + host + "/" + request.path) + "&"
                            + percentEncode (parameters);
    const auto key = percentEncode (settings.consumerSecret) + "&" + percentEncode (tokenSecret);

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    HMAC (EVP_sha1(), key.data(), (int) key.size(), reinterpret_cast<const unsigned char*> (baseString.data()),
          baseString.size(), digest, &digestLength);

    const auto given = fromBase64 (signature);
    if (given.size() != digestLength || std::memcmp (given.data(), digest, digestLength) != 0)
        return "signature mismatch (expected " + base64 (digest, digestLength) + " for " + baseString + ")";

    const auto timestamp = std::strtoll (findValue (oauthParams, "oauth_timestamp").c_str(), nullptr, 10);
    if (std::llabs (timestamp - (long long) std::time (nullptr)) > 300)
        return "timestamp out of range";

    const auto nonce = findValue (oauthParams, "oauth_nonce");
    if (nonce.empty())
        return "no nonce";
    const std::lock_guard<std::mutex> lock (stateMutex);
    if (! usedNonces.insert (nonce).second)
        return "nonce used twice";
    return {};
}

std::string tweetJson (const std::string& id, const std::string& text, const std::string& userId,
                       const std::string& screenName)
{
    return R"({"id":)" + id + R"(,"id_str":")" + id + R"(","text":")" + jsonEscape (text)
           + R"(","source":"<a href=\"https://example.invalid\">TarnOMBI</a>","created_at":"Wed Aug 27 13:08:45 +0000 2008",)"
           + R"("user":{"id_str":")" + userId + R"(","name":"User )" + userId + R"(","screen_name":")" + screenName
           + R"(","profile_image_url":"http://127.0.0.1:)" + std::to_string (settings.port) + "/profile/" + userId
           + R"(.png"},"entities":{"hashtags":[{"text":"tarn"}],"urls":[{"url":"https://t.co/a","expanded_url":"https://example.invalid/a"}]}})";
}

// A 1 x 1 picture.
const char* const profilePng = "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA60e6kgAAAABJRU5ErkJggg==";

void answer (int socket, const Request& request)
{
    auto faultFor = [&] (const std::map<std::string, std::string>& table) -> std::string
    {
        if (const auto it = table.find (request.path); it != table.end())
            return it->second;
        if (const auto it = table.find ("*"); it != table.end())
            return it->second;
        return {};
    };

    const auto fault = faultFor (settings.faults);
    if (fault == "drop")
    {
        logLine (request.method + " " + request.path + "?" + request.query + " dropped");
        return;
    }
    if (fault == "stall")
    {
        logLine (request.method + " " + request.path + "?" + request.query + " stalled");
        std::this_thread::sleep_for (std::chrono::seconds (7));
    }

    if (request.path.rfind ("profile/", 0) == 0)
    {
        logLine (request.method + " " + request.path + " picture");
        if (request.path.size() > 4 && request.path.substr (request.path.size() - 4) == ".png")
        {
            const auto png = fromBase64 (profilePng);
            sendResponse (socket, 200, "image/png", std::string (png.begin(), png.end()));
        }
        else
            sendResponse (socket, 404, "text/plain", "no such picture");
        return;
    }

    // Which token pair signs this request.
    const bool requestTokenStep = request.path == "oauth/request_token";
    const bool accessTokenStep = request.path == "oauth/access_token";
    const auto expectedToken = requestTokenStep ? std::string() : accessTokenStep ? requestTokenKey : accessTokenKey;
    const auto tokenSecret = requestTokenStep ? std::string() : accessTokenStep ? requestTokenSecret : accessTokenSecret;

    Pairs oauthParams;
    auto refusal = checkSignature (request, tokenSecret, oauthParams);
    if (refusal.empty() && findValue (oauthParams, "oauth_token") != expectedToken)
        refusal = "wrong token";
    if (refusal.empty() && accessTokenStep && findValue (oauthParams, "oauth_verifier") != settings.pin)
        refusal = "wrong PIN";

    logLine (request.method + " " + request.path + "?" + request.query + " body=" + request.body + " "
             + (refusal.empty() ? "signature=ok" : "refused=" + refusal));

    if (! refusal.empty())
    {
        sendResponse (socket, 401, "application/json", authenticationError);
        return;
    }

    if (fault == "errors")
    {
        sendResponse (socket, 401, "application/json", R"({"errors":[{"code":89,"message":"Invalid or expired token."}]})");
        return;
    }
    if (fault == "errors-string")
    {
        sendResponse (socket, 200, "application/json", R"({"errors":"Something is wrong."})");
        return;
    }
    if (fault == "status500")
    {
        sendResponse (socket, 500, "text/html", "<html><body>Internal Server Error</body></html>");
        return;
    }
    if (fault == "empty")
    {
        sendResponse (socket, 200, "application/json", "");
        return;
    }

    const auto bodyFile = faultFor (settings.bodies);
    if (! bodyFile.empty())
    {
        std::ifstream file (bodyFile, std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        sendResponse (socket, 200, "application/json", content.str());
        return;
    }

    const auto query = parseForm (request.query);
    const auto form = parseForm (request.body);
    const auto& path = request.path;

    if (requestTokenStep && request.method == "GET")
        sendResponse (socket, 200, "text/plain",
                      "oauth_token=" + requestTokenKey + "&oauth_token_secret=" + requestTokenSecret
                          + "&oauth_callback_confirmed=true");
    else if (accessTokenStep && request.method == "GET")
        sendResponse (socket, 200, "text/plain",
                      "oauth_token=" + accessTokenKey + "&oauth_token_secret=" + accessTokenSecret
                          + "&user_id=12345&screen_name=tarn_user");
    else if (path == "1.1/account/verify_credentials.json" && request.method == "GET")
        sendResponse (socket, 200, "application/json", R"({"id":12345,"id_str":"12345","name":"Tarn User","screen_name":"tarn_user"})");
    else if (path == "1.1/help/configuration.json" && request.method == "GET")
        sendResponse (socket, 200, "application/json", R"({"short_url_length":23,"short_url_length_https":24,"photo_size_limit":3145728})");
    else if (path == "1.1/search/tweets.json" && request.method == "GET")
    {
        // Newest first; with a maximum id only the tweets at or below it.
        const auto q = findValue (query, "q");
        const auto maxId = findValue (query, "max_id");
        std::vector<std::string> statuses;
        for (const auto& id : { "300", "200", "100" })
            if (maxId.empty() || std::stoll (id) <= std::stoll (maxId))
                statuses.push_back (tweetJson (id, q + " #" + id, "777", "other_user"));

        std::string body = R"({"statuses":[)";
        for (size_t i = 0; i < statuses.size(); ++i)
            body += (i > 0 ? "," : "") + statuses[i];
        body += R"(],"search_metadata":{"count":)" + findValue (query, "count") + "}}";
        sendResponse (socket, 200, "application/json", body);
    }
    else if (path == "1.1/statuses/update.json" && request.method == "POST")
        sendResponse (socket, 200, "application/json", tweetJson ("9001", findValue (form, "status"), "12345", "tarn_user"));
    else if (path.rfind ("1.1/statuses/retweet/", 0) == 0 && request.method == "POST")
        sendResponse (socket, 200, "application/json", tweetJson ("9002", "RT", "12345", "tarn_user"));
    else if (path.rfind ("1.1/statuses/destroy/", 0) == 0 && request.method == "DELETE")
    {
        auto id = path.substr (std::strlen ("1.1/statuses/destroy/"));
        id = id.substr (0, id.find ('.'));
        sendResponse (socket, 200, "application/json", tweetJson (id, "deleted", "12345", "tarn_user"));
    }
    else
        sendResponse (socket, 404, "application/json", R"({"errors":[{"code":34,"message":"Sorry, that page does not exist."}]})");
}

void serve (int socket)
{
    Request request;
    if (readRequest (socket, request))
        answer (socket, request);
    close (socket);
}

bool splitAssignment (const std::string& text, std::map<std::string, std::string>& table)
{
    const auto equals = text.find ('=');
    if (equals == std::string::npos)
        return false;
    table[text.substr (0, equals)] = text.substr (equals + 1);
    return true;
}
} // namespace

int main (int argc, char** argv)
{
    std::signal (SIGPIPE, SIG_IGN);

    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        bool ok = i + 1 < argc;
        if (option == "--consumer-key")
            settings.consumerKey = value;
        else if (option == "--consumer-secret")
            settings.consumerSecret = value;
        else if (option == "--pin")
            settings.pin = value;
        else if (option == "--log")
            settings.logFile = value;
        else if (option == "--port")
            settings.port = std::atoi (value.c_str());
        else if (option == "--fault")
            ok = ok && splitAssignment (value, settings.faults);
        else if (option == "--body")
            ok = ok && splitAssignment (value, settings.bodies);
        else
            ok = false;

        if (! ok)
        {
            std::fprintf (stderr, "usage: %s --consumer-key KEY --consumer-secret SECRET [--port N] [--pin PIN] "
                                  "[--log FILE] [--fault PATH=KIND]... [--body PATH=FILE]...\n",
                          argv[0]);
            return 2;
        }
        ++i;
    }

    const int listener = socket (AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt (listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof (yes));

    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
    address.sin_port = htons ((uint16_t) settings.port);
    if (bind (listener, reinterpret_cast<sockaddr*> (&address), sizeof (address)) != 0 || listen (listener, 16) != 0)
    {
        std::perror ("tarnombi-twitter-service");
        return 1;
    }

    socklen_t length = sizeof (address);
    getsockname (listener, reinterpret_cast<sockaddr*> (&address), &length);
    settings.port = ntohs (address.sin_port);
    std::printf ("PORT %d\n", settings.port);
    std::fflush (stdout);

    for (;;)
    {
        const int connection = accept (listener, nullptr, nullptr);
        if (connection < 0)
            continue;
        std::thread (serve, connection).detach();
    }
}
