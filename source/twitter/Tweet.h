#pragma once

#include <juce_core/juce_core.h>

namespace twitter
{
// The author (or addressee) of a tweet.
class TwitterUser
{
public:
    TwitterUser() = default;
    TwitterUser (const TwitterUser&) = default;
    TwitterUser& operator= (const TwitterUser&) = default;
    virtual ~TwitterUser() = default;

    void initialize();
    void assign (const TwitterUser& other);

    juce::String userId;
    juce::String name;
    juce::String screenName;
    juce::String profileImageUrl;
};

// One tweet as the librarian keeps it. Tweets are identified and ordered by their id text.
class Tweet
{
public:
    Tweet() = default;
    explicit Tweet (const juce::String& tweetId);
    Tweet (const Tweet&) = default;
    Tweet& operator= (const Tweet&) = default;
    virtual ~Tweet() = default;

    bool isEnable() const { return id.isNotEmpty(); }

    bool operator== (const Tweet& other) const { return id == other.id; }
    bool operator!= (const Tweet& other) const { return ! operator== (other); }
    bool operator< (const Tweet& other) const { return id.compare (other.id) < 0; }
    bool operator> (const Tweet& other) const { return id.compare (other.id) > 0; }

    void initialize();
    void assign (const Tweet& other);

    // The XML form used by the tweet log: a new "tweet" element owned by the caller.
    juce::XmlElement* createXmlElement() const;
    // Reads a "tweet" element; true when a tweet with an id was read.
    bool readFromXmlElement (const juce::XmlElement* element);
    static juce::String getElementString (const juce::XmlElement& element, const juce::String& tag);
    static void analyzeUserElement (const juce::XmlElement& element, TwitterUser& user);

    // The service's creation date ("Wed Aug 27 13:08:45 +0000 2008") as a time value;
    // InvalidTime for texts that do not have that form.
    static juce::Time convertUTCtoTime (const juce::String& dateText);

    void debugPrintf() const {}

    static const Tweet null;
    static const juce::Time InvalidTime;

    static const juce::String TweetTag;
    static const juce::String TweetIdTag;
    static const juce::String TextTag;
    static const juce::String SourceTag;
    static const juce::String DateTag;
    static const juce::String FromUserTag;
    static const juce::String ToUserTag;
    static const juce::String UserIdTag;
    static const juce::String UserNameTag;
    static const juce::String UserScreenNameTag;
    static const juce::String ProfileImageUrlTag;
    static const juce::String HashTagsTag;
    static const juce::String UrlsTag;
    static const juce::String ShortUrlsTag;
    static const juce::String ItemTag;

    juce::String text;
    juce::String id;
    juce::String source;
    juce::String date;
    TwitterUser fromUser;
    TwitterUser toUser;
    juce::StringArray hashtags;
    juce::StringArray urls;
    juce::StringArray shortUrls;
};

// Reads one status object of the service.
class TweetJsonAnalyzer
{
public:
    explicit TweetJsonAnalyzer (const juce::var& value);
    virtual ~TweetJsonAnalyzer() = default;

    bool isSucceeded() const { return success; }
    const Tweet& getTweet() const { return tweet; }

private:
    bool analyze();

    bool success = false;
    juce::var json;
    Tweet tweet;
};

// Reads a whole search answer: its "statuses" in answer order.
class TwitterSearchResultAnalyzer
{
public:
    explicit TwitterSearchResultAnalyzer (const juce::var& value);
    virtual ~TwitterSearchResultAnalyzer() = default;

    bool isSucceeded() const { return success; }
    const juce::Array<Tweet>& getTweets() const { return tweets; }

private:
    bool analyze();

    bool success = false;
    juce::var json;
    juce::Array<Tweet> tweets;
};

// True when the value is a JSON object (not an array).
bool isJsonObject (const juce::var& value);

// A member of a JSON object as text: empty when absent; strings as they are, numbers in
// decimal, booleans as "1"/"0". Members that hold an object, an array or null also give
// the empty text rather than a made-up description.
juce::String getJsonMemberText (const juce::var& object, const juce::Identifier& name);
} // namespace twitter
