#include "twitter/TwitterResult.h"

#include "application/CPXRResource.h"

namespace twitter
{
juce::String getTwitterErrorKey (int code)
{
    static const juce::StringArray keys { "TwitterResultNoError",
                                          "TwitterResultErrorInternal",
                                          "TwitterResultTimeout",
                                          "TwitterResultNetworkError",
                                          "TwitterResultErrorPinIsEmpty",
                                          "TwitterResultErrorNoAccessToken",
                                          "TwitterResultErrorAccountIsNotAuthorized",
                                          "TwitterResultFailedToOpenTokenFile",
                                          "TwitterResultFailedToWriteTokenFile",
                                          "TwitterResultErrorGetRequestToken",
                                          "TwitterResultErrorGetAccessToken",
                                          "TwitterResultErrorFailedToVerifyAccount",
                                          "TwitterResultErrorEmptyAccountInformation",
                                          "TwitterResultErrorTweetIsEmpty",
                                          "TwitterResultErrorFailedToPostTweet",
                                          "TwitterResultErrorSearchWordIsEmpty",
                                          "TwitterResultErrorFailedToSearch",
                                          "TwitterResultErrorFailedToAnalyzeSearchResult",
                                          "TwitterResultErrorFailedToRetweet",
                                          "TwitterResultErrorFailedToDeleteTweet",
                                          "TwitterResultErrorFailedToGetConfiguration",
                                          "TwitterResultErrorUserIdIsEmpty" };

    return juce::isPositiveAndBelow (code, keys.size()) ? keys[code] : keys[TwitterResultErrorInternal];
}

juce::String getTwitterErrorString (int code)
{
    return getLocalizedString (getTwitterErrorKey (code));
}
} // namespace twitter
