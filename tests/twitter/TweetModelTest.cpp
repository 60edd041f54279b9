#include "twitter/Tweet.h"

#include <gtest/gtest.h>

namespace
{
using twitter::Tweet;
using twitter::TweetJsonAnalyzer;
using twitter::TwitterSearchResultAnalyzer;

juce::String statusJson (const juce::String& id, const juce::String& entities)
{
    return R"({"id_str":")" + id + R"(","text":"Tarn \u00e9 #preset","source":"<a href=\"x\">App</a>",)"
           + R"("created_at":"Wed Aug 27 13:08:45 +0000 2008",)"
           + R"("user":{"id_str":"77","name":"N","screen_name":"sn","profile_image_url":"http://p/77.png"},)"
           + R"("entities":)" + entities + "}";
}

const juce::String twoLinks = R"({"hashtags":[{"text":"tarn"},{"text":"ombi"}],)"
                              R"("urls":[{"url":"https://t.co/1","expanded_url":"https://e/1"},)"
                              R"({"url":"https://t.co/2","expanded_url":"https://e/2"}]})";

TEST (TweetJson, ReadsAStatusWithItsUserAndEntities)
{
    TweetJsonAnalyzer analyzer (juce::JSON::parse (statusJson ("1001", twoLinks)));
    ASSERT_TRUE (analyzer.isSucceeded());

    const auto& tweet = analyzer.getTweet();
    EXPECT_EQ (tweet.id, "1001");
    EXPECT_EQ (tweet.text, juce::String::fromUTF8 ("Tarn \xc3\xa9 #preset"));
    EXPECT_EQ (tweet.source, "<a href=\"x\">App</a>");
    EXPECT_EQ (tweet.date, "Wed Aug 27 13:08:45 +0000 2008");
    EXPECT_EQ (tweet.fromUser.userId, "77");
    EXPECT_EQ (tweet.fromUser.name, "N");
    EXPECT_EQ (tweet.fromUser.screenName, "sn");
    EXPECT_EQ (tweet.fromUser.profileImageUrl, "http://p/77.png");
    EXPECT_TRUE (tweet.toUser.userId.isEmpty());
    EXPECT_EQ (tweet.hashtags, juce::StringArray ("tarn", "ombi"));
    EXPECT_EQ (tweet.urls, juce::StringArray ("https://e/1", "https://e/2"));
    EXPECT_EQ (tweet.shortUrls, juce::StringArray ("https://t.co/1", "https://t.co/2"));
}

TEST (TweetJson, MissingOrMistypedMembersRejectTheStatus)
{
    struct Case
    {
        const char* name;
        juce::String json;
        bool accepted;
    };

    const Case cases[] = {
        { "empty entity lists", statusJson ("1", R"({"urls":[],"hashtags":[]})"), true },
        { "numeric id_str is read as text", R"({"id_str":5,"user":{},"entities":{"urls":[],"hashtags":[]}})", true },
        { "no entities", R"({"id_str":"1","user":{}})", false },
        { "entities is an array", R"({"id_str":"1","user":{},"entities":[]})", false },
        { "no urls", statusJson ("1", R"({"hashtags":[]})"), false },
        { "no hashtags", statusJson ("1", R"({"urls":[]})"), false },
        { "urls is null", statusJson ("1", R"({"urls":null,"hashtags":[]})"), false },
        { "hashtags is an object", statusJson ("1", R"({"urls":[],"hashtags":{}})"), false },
        { "a url that is not an object", statusJson ("1", R"({"urls":["x"],"hashtags":[]})"), false },
        { "a hashtag that is not an object", statusJson ("1", R"({"urls":[],"hashtags":[3]})"), false },
        { "no id_str", R"({"user":{},"entities":{"urls":[],"hashtags":[]}})", false },
        { "id_str is an object", R"({"id_str":{},"user":{},"entities":{"urls":[],"hashtags":[]}})", false },
        { "id_str is null", R"({"id_str":null,"user":{},"entities":{"urls":[],"hashtags":[]}})", false },
        { "user is a string", R"({"id_str":"1","user":"u","entities":{"urls":[],"hashtags":[]}})", false },
        { "no user", R"({"id_str":"1","entities":{"urls":[],"hashtags":[]}})", false },
        { "an array", "[1,2]", false },
        { "a number", "42", false },
        { "broken JSON", "{\"id_str\":", false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        TweetJsonAnalyzer analyzer (juce::JSON::parse (c.json));
        EXPECT_EQ (analyzer.isSucceeded(), c.accepted);
        if (! c.accepted)
        {
            EXPECT_FALSE (analyzer.getTweet().isEnable());
        }
    }

    // Members of the wrong kind are read as empty text, not as a made-up description.
    TweetJsonAnalyzer analyzer (juce::JSON::parse (
        R"({"id_str":"9","text":{"a":1},"source":[1],"created_at":12,"user":{"name":null},"entities":{"urls":[],"hashtags":[]}})"));
    ASSERT_TRUE (analyzer.isSucceeded());
    EXPECT_EQ (analyzer.getTweet().text, "");
    EXPECT_EQ (analyzer.getTweet().source, "");
    EXPECT_EQ (analyzer.getTweet().date, "12");
    EXPECT_EQ (analyzer.getTweet().fromUser.name, "");
}

TEST (TweetJson, SearchAnswers)
{
    const auto good = statusJson ("2", twoLinks);
    const auto bad = R"({"id_str":"3","user":{}})";

    struct Case
    {
        const char* name;
        juce::String json;
        bool accepted;
        int count;
    };
    const Case cases[] = {
        { "two statuses in order", "{\"statuses\":[" + statusJson ("1", twoLinks) + "," + good + "]}", true, 2 },
        { "empty list", R"({"statuses":[]})", true, 0 },
        { "one rejected status rejects the answer", "{\"statuses\":[" + good + "," + bad + "]}", false, -1 },
        { "no statuses", R"({"search_metadata":{}})", false, -1 },
        { "statuses is an object", R"({"statuses":{}})", false, -1 },
        { "statuses is null", R"({"statuses":null})", false, -1 },
        { "void", "", false, -1 },
        { "broken JSON", R"({"statuses":[)", false, -1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        TwitterSearchResultAnalyzer analyzer (juce::JSON::parse (c.json));
        EXPECT_EQ (analyzer.isSucceeded(), c.accepted);
        if (c.accepted)
        {
            EXPECT_EQ (analyzer.getTweets().size(), c.count);
        }
    }

    TwitterSearchResultAnalyzer ordered (juce::JSON::parse ("{\"statuses\":[" + statusJson ("1", twoLinks) + "," + good + "]}"));
    EXPECT_EQ (ordered.getTweets()[0].id, "1");
    EXPECT_EQ (ordered.getTweets()[1].id, "2");
}

TEST (TweetJson, MutatedAnswersNeverCrash)
{
    const auto original = ("{\"statuses\":[" + statusJson ("1", twoLinks) + "," + statusJson ("2", twoLinks) + "]}").toStdString();
    const std::string replacements = "{}[]\",:0n \\";

    juce::Random random (20261211);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round)
    {
        auto text = original;
        const int edits = 1 + random.nextInt (4);
        for (int e = 0; e < edits && ! text.empty(); ++e)
        {
            const auto position = (size_t) random.nextInt ((int) text.size());
            switch (random.nextInt (3))
            {
                case 0: text.erase (position, 1 + (size_t) random.nextInt (8)); break;
                case 1: text[position] = replacements[(size_t) random.nextInt ((int) replacements.size())]; break;
                default: text.insert (position, 1, replacements[(size_t) random.nextInt ((int) replacements.size())]); break;
            }
        }

        TwitterSearchResultAnalyzer analyzer (juce::JSON::parse (juce::String::fromUTF8 (text.data(), (int) text.size())));
        if (analyzer.isSucceeded())
        {
            ++accepted;
            for (const auto& tweet : analyzer.getTweets())
            {
                EXPECT_TRUE (tweet.isEnable());
                EXPECT_EQ (tweet.urls.size(), tweet.shortUrls.size());
            }
        }
    }
    EXPECT_GT (accepted, 0) << "some mutations leave a valid answer";
}

TEST (TweetModel, OrderAndIdentityFollowTheIdText)
{
    EXPECT_TRUE (Tweet ("100") < Tweet ("99")); // text order
    EXPECT_TRUE (Tweet ("99") > Tweet ("100"));
    EXPECT_TRUE (Tweet ("123") < Tweet ("124")); // equal length: numeric order

    Tweet a ("5");
    a.text = "one";
    Tweet b ("5");
    b.text = "two";
    EXPECT_TRUE (a == b);
    EXPECT_FALSE (Tweet::null.isEnable());
}

TEST (TweetModel, XmlFormRoundTrip)
{
    Tweet tweet ("1234567890123");
    tweet.text = juce::String::fromUTF8 ("Preset <one> & \xe3\x82\xbf\xe3\x83\xb3");
    tweet.source = "<a href=\"x\">App</a>";
    tweet.date = "Wed Aug 27 13:08:45 +0000 2008";
    tweet.fromUser.userId = "1";
    tweet.fromUser.name = "From";
    tweet.fromUser.screenName = "from";
    tweet.fromUser.profileImageUrl = "http://p/1.png";
    tweet.toUser.userId = "2";
    tweet.toUser.screenName = "to";
    tweet.hashtags = juce::StringArray ("a", "b");
    tweet.urls = juce::StringArray ("https://e/1");
    tweet.shortUrls = juce::StringArray ("https://t.co/1");

    // Written out as text and parsed again, as the tweet log does.
    const std::unique_ptr<juce::XmlElement> element (tweet.createXmlElement());
    const auto parsed = juce::parseXML (element->toString());
    ASSERT_NE (parsed, nullptr);

    Tweet copy;
    ASSERT_TRUE (copy.readFromXmlElement (parsed.get()));
    EXPECT_EQ (copy.id, tweet.id);
    EXPECT_EQ (copy.text, tweet.text);
    EXPECT_EQ (copy.source, tweet.source);
    EXPECT_EQ (copy.date, tweet.date);
    EXPECT_EQ (copy.fromUser.userId, "1");
    EXPECT_EQ (copy.fromUser.name, "From");
    EXPECT_EQ (copy.fromUser.screenName, "from");
    EXPECT_EQ (copy.fromUser.profileImageUrl, "http://p/1.png");
    EXPECT_EQ (copy.toUser.userId, "2");
    EXPECT_EQ (copy.toUser.screenName, "to");
    EXPECT_EQ (copy.hashtags, tweet.hashtags);
    EXPECT_EQ (copy.urls, tweet.urls);
    EXPECT_EQ (copy.shortUrls, tweet.shortUrls);
}

TEST (TweetModel, XmlOfAnEmptyTweetHasEveryChild)
{
    const std::unique_ptr<juce::XmlElement> element (Tweet().createXmlElement());
    EXPECT_TRUE (element->hasTagName ("tweet"));
    EXPECT_EQ (element->getNumAttributes(), 0);

    juce::StringArray tags;
    for (auto* child : element->getChildIterator())
        tags.add (child->getTagName());
    EXPECT_EQ (tags.joinIntoString (","), "id,text,source,date,from_user,to_user,hashtags,urls,short_urls");

    for (const auto* userTag : { "from_user", "to_user" })
    {
        juce::StringArray userTags;
        for (auto* child : element->getChildByName (userTag)->getChildIterator())
            userTags.add (child->getTagName());
        EXPECT_EQ (userTags.joinIntoString (","), "user_id,name,screen_name,profile_image_url");
    }
    EXPECT_EQ (element->getChildByName ("hashtags")->getNumChildElements(), 0);

    // A tweet without an id, or another element, is not read.
    Tweet tweet ("7");
    EXPECT_FALSE (tweet.readFromXmlElement (element.get()));
    juce::XmlElement other ("nottweet");
    EXPECT_FALSE (tweet.readFromXmlElement (&other));
    EXPECT_FALSE (tweet.readFromXmlElement (nullptr));
}

TEST (TweetModel, DateConversion)
{
    const auto utc = [] (int year, int month, int day, int h, int m, int s)
    { return juce::Time (year, month, day, h, m, s, 0, false); };

    struct Case
    {
        const char* text;
        juce::Time expected;
    };
    const Case cases[] = {
        { "Wed Aug 27 13:08:45 +0000 2008", utc (2008, 7, 27, 13, 8, 45) },
        { "Wed aug 27 13:08:45 +0000 2008", utc (2008, 7, 27, 13, 8, 45) },
        { "Wed Xyz 27 13:08:45 +0000 2008", utc (2008, 0, 27, 13, 8, 45) },
        { "Wed Dec 31 23:59:59 +0000 2014", utc (2014, 11, 31, 23, 59, 59) },
        { "Wed Aug 27 13:08:45 +0130 2008", utc (2008, 7, 27, 14, 38, 45) },
        { "Wed Aug 27 13:08:45 -0130 2008", utc (2008, 7, 27, 11, 38, 45) },
        { "Wed Aug 27 13:08 +0000 2008", Tweet::InvalidTime },
        { "Wed Aug 27 13:08:45 +0000", Tweet::InvalidTime },
        { "", Tweet::InvalidTime },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Tweet::convertUTCtoTime (c.text).toMilliseconds(), c.expected.toMilliseconds()) << c.text;

    EXPECT_EQ (Tweet::InvalidTime.getYear(), 1980);
}
} // namespace
