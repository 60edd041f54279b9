#pragma once

#include <juce_core/juce_core.h>

namespace twitter
{
// Result codes of the Twitter tasks (0 is success).
enum TwitterResultCode
{
    TwitterResultNoError = 0,
    TwitterResultErrorInternal = 1,
    TwitterResultTimeout = 2,
    TwitterResultNetworkError = 3,
    TwitterResultErrorPinIsEmpty = 4,
    TwitterResultErrorNoAccessToken = 5,
    TwitterResultErrorAccountIsNotAuthorized = 6,
    TwitterResultFailedToOpenTokenFile = 7,
    TwitterResultFailedToWriteTokenFile = 8,
    TwitterResultErrorGetRequestToken = 9,
    TwitterResultErrorGetAccessToken = 10,
    TwitterResultErrorFailedToVerifyAccount = 11,
    TwitterResultErrorEmptyAccountInformation = 12,
    TwitterResultErrorTweetIsEmpty = 13,
    TwitterResultErrorFailedToPostTweet = 14,
    TwitterResultErrorSearchWordIsEmpty = 15,
    TwitterResultErrorFailedToSearch = 16,
    TwitterResultErrorFailedToAnalyzeSearchResult = 17,
    TwitterResultErrorFailedToRetweet = 18,
    TwitterResultErrorFailedToDeleteTweet = 19,
    TwitterResultErrorFailedToGetConfiguration = 20,
    TwitterResultErrorUserIdIsEmpty = 21,
    NumTwitterResultCodes = 22
};

// The message key of a result code; an unknown code gets the key of the internal error.
juce::String getTwitterErrorKey (int code);

// The localized text of a result code.
juce::String getTwitterErrorString (int code);
} // namespace twitter
