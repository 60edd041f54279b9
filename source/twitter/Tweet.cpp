#include "twitter/Tweet.h"

namespace twitter
{
void TwitterUser::initialize()
{
    userId.clear();
    name.clear();
    screenName.clear();
    profileImageUrl.clear();
}

void TwitterUser::assign (const TwitterUser& other)
{
    userId = other.userId;
    name = other.name;
    screenName = other.screenName;
    profileImageUrl = other.profileImageUrl;
}

//==============================================================================
const Tweet Tweet::null;
const juce::Time Tweet::InvalidTime (1980, 0, 1, 0, 0, 0, 0, true);

const juce::String Tweet::TweetTag ("tweet");
const juce::String Tweet::TweetIdTag ("id");
const juce::String Tweet::TextTag ("text");
const juce::String Tweet::SourceTag ("source");
const juce::String Tweet::DateTag ("date");
const juce::String Tweet::FromUserTag ("from_user");
const juce::String Tweet::ToUserTag ("to_user");
const juce::String Tweet::UserIdTag ("user_id");
const juce::String Tweet::UserNameTag ("name");
const juce::String Tweet::UserScreenNameTag ("screen_name");
const juce::String Tweet::ProfileImageUrlTag ("profile_image_url");
const juce::String Tweet::HashTagsTag ("hashtags");
const juce::String Tweet::UrlsTag ("urls");
const juce::String Tweet::ShortUrlsTag ("short_urls");
const juce::String Tweet::ItemTag ("item");

Tweet::Tweet (const juce::String& tweetId) : id (tweetId) {}

void Tweet::initialize()
{
    text.clear();
    id.clear();
    source.clear();
    date.clear();
    fromUser.initialize();
    toUser.initialize();
    hashtags.clear();
    urls.clear();
    shortUrls.clear();
}

void Tweet::assign (const Tweet& other)
{
    text = other.text;
    id = other.id;
    source = other.source;
    date = other.date;
    fromUser.assign (other.fromUser);
    toUser.assign (other.toUser);
    hashtags = other.hashtags;
    urls = other.urls;
    shortUrls = other.shortUrls;
}

namespace
{
void addTextChild (juce::XmlElement& parent, const juce::String& tag, const juce::String& value)
{
    auto* child = parent.createNewChildElement (tag);
    if (value.isNotEmpty())
        child->addTextElement (value);
}

void addUserChild (juce::XmlElement& parent, const juce::String& tag, const TwitterUser& user)
{
    auto* child = parent.createNewChildElement (tag);
    addTextChild (*child, Tweet::UserIdTag, user.userId);
    addTextChild (*child, Tweet::UserNameTag, user.name);
    addTextChild (*child, Tweet::UserScreenNameTag, user.screenName);
    addTextChild (*child, Tweet::ProfileImageUrlTag, user.profileImageUrl);
}

void addListChild (juce::XmlElement& parent, const juce::String& tag, const juce::StringArray& items)
{
    auto* child = parent.createNewChildElement (tag);
    for (const auto& item : items)
        addTextChild (*child, Tweet::ItemTag, item);
}

void readListChild (const juce::XmlElement& element, const juce::String& tag, juce::StringArray& items)
{
    if (const auto* list = element.getChildByName (tag))
        for (const auto* item : list->getChildWithTagNameIterator (Tweet::ItemTag))
            items.add (item->getAllSubText());
}
} // namespace

juce::XmlElement* Tweet::createXmlElement() const
{
    auto* element = new juce::XmlElement (TweetTag);
    addTextChild (*element, TweetIdTag, id);
    addTextChild (*element, TextTag, text);
    addTextChild (*element, SourceTag, source);
    addTextChild (*element, DateTag, date);
    addUserChild (*element, FromUserTag, fromUser);
    addUserChild (*element, ToUserTag, toUser);
    addListChild (*element, HashTagsTag, hashtags);
    addListChild (*element, UrlsTag, urls);
    addListChild (*element, ShortUrlsTag, shortUrls);
    return element;
}

juce::String Tweet::getElementString (const juce::XmlElement& element, const juce::String& tag)
{
    if (const auto* child = element.getChildByName (tag))
        return child->getAllSubText();
    return {};
}

void Tweet::analyzeUserElement (const juce::XmlElement& element, TwitterUser& user)
{
    user.userId = getElementString (element, UserIdTag);
    user.name = getElementString (element, UserNameTag);
    user.screenName = getElementString (element, UserScreenNameTag);
    user.profileImageUrl = getElementString (element, ProfileImageUrlTag);
}

bool Tweet::readFromXmlElement (const juce::XmlElement* element)
{
    if (element == nullptr || ! element->hasTagName (TweetTag))
        return false;

    initialize();

    id = getElementString (*element, TweetIdTag);
    if (id.isEmpty())
        return false;

    text = getElementString (*element, TextTag);
    source = getElementString (*element, SourceTag);
    date = getElementString (*element, DateTag);

    if (const auto* from = element->getChildByName (FromUserTag))
        analyzeUserElement (*from, fromUser);
    if (const auto* to = element->getChildByName (ToUserTag))
        analyzeUserElement (*to, toUser);

    readListChild (*element, HashTagsTag, hashtags);
    readListChild (*element, UrlsTag, urls);
    readListChild (*element, ShortUrlsTag, shortUrls);
    return true;
}

juce::Time Tweet::convertUTCtoTime (const juce::String& dateText)
{
    if (dateText.isEmpty())
        return InvalidTime;

    juce::StringArray tokens;
    tokens.addTokens (dateText, true);
    if (tokens.size() < 6)
        return InvalidTime;

    static const char* const monthNames[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    int month = 0;
    for (int i = 0; i < 12; ++i)
    {
        if (tokens[1].equalsIgnoreCase (monthNames[i]))
        {
            month = i;
            break;
        }
    }

    const int day = tokens[2].getIntValue();
    const int year = tokens[5].getIntValue();

    juce::StringArray timeParts;
    timeParts.addTokens (tokens[3], ":", {});
    if (timeParts.size() < 3)
        return InvalidTime;

    juce::Time time (year, month, day, timeParts[0].getIntValue(), timeParts[1].getIntValue(),
                     timeParts[2].getIntValue(), 0, false);

    // The zone: a sign, two hour digits and two minute digits.
    const auto zone = tokens[4];
    const auto digits = zone.substring (1);
    const double offsetMinutes = digits.substring (0, 2).getIntValue() * 60.0 + digits.substring (2, 4).getIntValue();
    if (zone.startsWith ("+"))
        time += juce::RelativeTime::minutes (offsetMinutes);
    else
        time -= juce::RelativeTime::minutes (offsetMinutes);

    return time;
}

//==============================================================================
bool isJsonObject (const juce::var& value)
{
    return value.getDynamicObject() != nullptr;
}

juce::String getJsonMemberText (const juce::var& object, const juce::Identifier& name)
{
    const auto* dynamicObject = object.getDynamicObject();
    if (dynamicObject == nullptr || ! dynamicObject->hasProperty (name))
        return {};

    const auto& member = dynamicObject->getProperty (name);
    if (member.isString() || member.isInt() || member.isInt64() || member.isDouble() || member.isBool())
        return member.toString();
    return {};
}

//==============================================================================
TweetJsonAnalyzer::TweetJsonAnalyzer (const juce::var& value) : json (value)
{
    success = analyze();
}

bool TweetJsonAnalyzer::analyze()
{
    if (json.isVoid() || ! isJsonObject (json))
        return false;

    const auto* object = json.getDynamicObject();
    if (! object->hasProperty ("id_str"))
        return false;

    Tweet result (getJsonMemberText (json, "id_str"));
    // A status without a usable id cannot be told apart from "no tweet".
    if (! result.isEnable())
        return false;

    result.text = getJsonMemberText (json, "text");
    result.source = getJsonMemberText (json, "source");
    result.date = getJsonMemberText (json, "created_at");

    const auto user = object->getProperty ("user");
    if (! isJsonObject (user))
        return false;
    result.fromUser.userId = getJsonMemberText (user, "id_str");
    result.fromUser.name = getJsonMemberText (user, "name");
    result.fromUser.screenName = getJsonMemberText (user, "screen_name");
    result.fromUser.profileImageUrl = getJsonMemberText (user, "profile_image_url");

    const auto entities = object->getProperty ("entities");
    if (! isJsonObject (entities))
        return false;

    const auto* urls = entities.getDynamicObject()->getProperty ("urls").getArray();
    if (urls == nullptr)
        return false;
    for (const auto& url : *urls)
    {
        if (! isJsonObject (url))
            return false;
        result.urls.add (getJsonMemberText (url, "expanded_url"));
        result.shortUrls.add (getJsonMemberText (url, "url"));
    }

    const auto* hashtags = entities.getDynamicObject()->getProperty ("hashtags").getArray();
    if (hashtags == nullptr)
        return false;
    for (const auto& hashtag : *hashtags)
    {
        if (! isJsonObject (hashtag))
            return false;
        result.hashtags.add (getJsonMemberText (hashtag, "text"));
    }

    tweet = result;
    return true;
}

//==============================================================================
TwitterSearchResultAnalyzer::TwitterSearchResultAnalyzer (const juce::var& value) : json (value)
{
    success = analyze();
}

bool TwitterSearchResultAnalyzer::analyze()
{
    if (json.isVoid() || ! isJsonObject (json))
        return false;

    const auto* statuses = json.getDynamicObject()->getProperty ("statuses").getArray();
    if (statuses == nullptr)
        return false;

    for (const auto& status : *statuses)
    {
        TweetJsonAnalyzer analyzer (status);
        if (! analyzer.isSucceeded())
            return false;
        tweets.add (analyzer.getTweet());
    }
    return true;
}
} // namespace twitter
