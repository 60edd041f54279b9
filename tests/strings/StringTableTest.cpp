#include "application/CPXRResource.h"
#include "application/CurrentLanguageModel.h"
#include "application/LanguageAndFontSetup.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

using x38200_application::CurrentLanguageModel;

namespace
{
// The English texts the product's design fixes for its keys.
const std::map<juce::String, juce::String>& getFixedEnglishTexts()
{
    static const std::map<juce::String, juce::String> texts {
        { "Common_Language", "en" },
        { "CommonApplicationName", "TarnOMBI Sound Librarian" },
        { "CommonErrorDialogTitle", "Error" },
        { "CommonOK", "OK" },
        { "CommonCancel", "Cancel" },
        { "CommonYes", "Yes" },
        { "CommonNo", "No" },
        { "CommonClose", "Close" },
        { "CommonInternalError", "Internal Error..." },
        { "CommonUntitledFileName", "Untitled" },
        { "CommonWindowTitleModified", "*" },
        { "MenuCategoryFile", "File" },
        { "MenuCategoryEdit", "Edit" },
        { "MenuCategoryMidi", "TarnOMBI" },
        { "MenuCategoryOption", "Option" },
        { "MenuFileNew", "New" },
        { "MenuFileOpen", "Open..." },
        { "MenuFileSave", "Save" },
        { "MenuFileSaveAs", "Save As..." },
        { "MenuFileLoadProgram", "Load Program Data..." },
        { "MenuFileSaveProgram", "Save Program Data..." },
        { "MenuFileSavePreset", "Make Preset File..." },
        { "MenuFileImportTimbrixEditorFile", "Import Timbrix Editor file" },
        { "MenuFileExit", "Quit" },
        { "MenuEditUndo", "Undo" },
        { "MenuEditRedo", "Redo" },
        { "MenuEditCut", "Cut" },
        { "MenuEditCopy", "Copy" },
        { "MenuEditPaste", "Paste" },
        { "MenuEditClear", "Clear" },
        { "MenuMidiReceiveLibrary", "Receive Library Data" },
        { "MenuMidiWriteLibrary", "Write Library Data" },
        { "MenuMidiReceiveProgram", "Receive Program Data" },
        { "MenuMidiWriteProgram", "Write Program Data" },
        { "MenuOptionPreferences", "Preferences..." },
        { "MenuOptionOpenPresetWindow", "Open Preset Window..." },
        { "MenuOptionDisableTwitterAccountWithNoName", "Disconnect from Twitter" },
        { "MenuOptionDisableTwitterAccountPrefix", "Disconnect from Twitter (" },
        { "MenuOptionDisableTwitterAccountSuffix", ")" },
        { "MenuOptionEnableTwitterAccount", "Authorize Twitter account..." },
        { "MenuOptionAbout", "About..." },
        { "MenuTwitterPostMovieTweet", "Tweet" },
        { "Menu_Quit", "Quit" },
        { "StartupFailedToStartApplication", "Cannot startup this application..." },
        { "StartupFailedToLaunchCoreMidiServer", "Failed to launch CoreMIDI server." },
        { "FileOpenLibraryTitle", "Open library file" },
        { "FileSaveLibraryTitle", "Save library file" },
        { "FileLoadProgramTitle", "Load program file" },
        { "FileSaveProgramTitle", "Save program file" },
        { "FileSavePresetTitle", "Save preset file" },
        { "FileImportTeTitle", "Import Timbrix Editor file" },
        { "FileDiscardCheckTitle", "Confirm" },
        { "FileDiscardCheckMessage", "Do you want to save the changes?" },
        { "ReadErrorNoError", "Succeeded." },
        { "ReadErrorOpenFile", "Failed to open the file." },
        { "ReadErrorInvalidType", "Invalid Type" },
        { "ReadErrorReadData", "Failed to read data from the file." },
        { "ReadErrorInvalidProgramNumber", "invalid program number" },
        { "ReadErrorDifferentTargetDevice", "This file is not TarnOMBI data file." },
        { "ReadErrorFailedToUncompressZipFile", "The file is not supported format file." },
        { "ReadErrorFailedToParseXmlDocument", "Failed to read XML data." },
        { "ReadErrorInvalidXmlDocument", "The file does not have enough information to read data." },
        { "ReadErrorFavoriteDataMissing", "The file does not have favorite data." },
        { "ReadErrorProgramDataMissing", "The file does not have program data." },
        { "ReadErrorPresetInformationMissing", "The file does not have preset information." },
        { "ReadErrorFailedToReadFavoriteData", "Failed to read favorite data from the file." },
        { "ReadErrorFailedToReadProgramBinary", "Failed to read program data from the file." },
        { "ReadErrorFailedToReadProgramInformation", "Failed to read program information from the file." },
        { "ReadErrorFailedToReadPresetInformation", "Failed to read preset information from the file." },
        { "ReadErrorFailedToImportPresetData", "Failed to import preset data." },
        { "WriteErrorNoError", "Succeeded." },
        { "WriteErrorDeleteFile", "Cannot delete the existing file." },
        { "WriteErrorOpenFile", "Failed to access the file." },
        { "WriteErrorWriteData", "Failed to write data to the file." },
        { "WriteWarningDialogTitle", "Warning" },
        { "WriteWarningDialogDontConfirmNext", "Do not confirm from next time" },
        { "WriteWarningDialogLine1", "This operation will rewrite data on the TarnOMBI." },
        { "WriteWarningDialogLine2", "Are you sure?" },
        { "ConnectionReceiveLibraryTitle", "Receive Library Data" },
        { "ConnectionWriteLibraryTitle", "Write Library Data" },
        { "ConnectionReceiveAllProgramTitle", "Receive all programs" },
        { "ConnectionWriteAllProgramTitle", "Write all programs" },
        { "ConnectionReceiveSelectedProgramTitle", "Receive Program Data" },
        { "ConnectionWriteSelectedProgramTitle", "Write Program Data" },
        { "ConnectionReceiveProgramTitle", "Receive program" },
        { "ConnectionWriteProgramTitle", "Write program" },
        { "ConnectionReceiveCurrentProgramTitle", "Receive from current program" },
        { "ConnectionTransmitCurrentProgramTitle", "Transmit to current program" },
        { "ConnectionReceiveFavoriteTitle", "Receive favorite data" },
        { "ConnectionWriteFavoriteTitle", "Write favorite data" },
        { "ConnectionErrorNotFoundTarnOmbi", "TarnOMBI is not connected." },
        { "ConnectionErrorFailedToOpenPort", "Failed to open the MIDI port." },
        { "MidiCommunicationNoError", "Succeeded." },
        { "MidiCommunicationCanceled", "Canceled." },
        { "MidiCommunicationErrorTimeout", "Timeout." },
        { "MidiCommunicationErrorFailedToOpenDialog", "Failed to start MIDI communication." },
        { "MidiCommunicationErrorTargetDevice", "The connected MIDI device is not TarnOMBI." },
        { "MidiCommunicationErrorReceiveNakOnReceive", "Failed to communicate with the TarnOMBI." },
        { "MidiCommunicationErrorReceiveNakOnWrite", "Error occurred while writing data." },
        { "MidiCommunicationErrorReceiveWriteError", "Failed to write data to the TarnOMBI." },
        { "MidiCommunicationErrorMessageBroken", "Received MIDI message is broken." },
        { "MidiCommunicationErrorOmbiUsbMidiDriver", "OMBI USB-MIDI Driver is not installed. Certain functions may not work correctly." },
        { "MidiCommunicationErrorOmbiUsbMidiDriverTitle", "Warning" },
        { "MidiCommunicationNoErrorDetail", "" },
        { "MidiCommunicationCanceledDetail", "" },
        { "MidiCommunicationErrorFailedToOpenDialogDetail", "" },
        { "MidiCommunicationErrorTimeoutDetail", "Please make sure of the MIDI port settings, and MIDI Filter SysEx setting of the TarnOMBI." },
        { "MidiCommunicationErrorTargetDeviceDetail", "Please make sure of the MIDI port settings." },
        { "MidiCommunicationErrorReceiveNakOnReceiveDetail", "" },
        { "MidiCommunicationErrorReceiveNakOnWriteDetail", "Please make sure the Write Protect setting of the TarnOMBI is OFF." },
        { "MidiCommunicationErrorReceiveWriteErrorDetail", "Please make sure the Write Protect setting of the TarnOMBI is OFF." },
        { "MidiCommunicationErrorMessageBrokenDetail", "" },
        { "CommunicationProcessReceiveLibrary", "Receiving all data from the TarnOMBI..." },
        { "CommunicationProcessReceiveSelectedProgram", "Receiving program from the TarnOMBI..." },
        { "CommunicationProcessWriteLibrary", "Writing all data to the TarnOMBI..." },
        { "CommunicationProcessWriteSelectedProgram", "Writing program to the TarnOMBI..." },
        { "CommunicationProcessReceiveCurrentProgram", "Receiving current program data from the TarnOMBI..." },
        { "CommunicationProcessTransmitCurrentProgram", "Transmitting program data to the TarnOMBI current program." },
        { "TooltipBrowserBack", "Back" },
        { "TooltipBrowserForward", "Forward" },
        { "TooltipBrowserRefresh", "Refresh" },
        { "TooltipBrowserOpenInBrowser", "Open this page in web browser" },
        { "TooltipTwitterRefreshTweets", "Update Tweets" },
        { "TooltipTwitterRetweet", "Retweet" },
        { "TooltipTwitterDeleteTweet", "Delete Tweet" },
        { "PreferencesDialogTitle", "Preferences" },
        { "PreferencesDialogGroupMidiPort", "MIDI ports" },
        { "PreferencesDialogGroupOther", "Misc." },
        { "PreferencesDialogMidiPortManualSetting", "Specify MIDI ports manually" },
        { "PreferencesDialogMidiInPort", "MIDI IN" },
        { "PreferencesDialogMidiOutPort", "MIDI OUT" },
        { "PreferencesDialogAutoReceive", "Receive library data automatically" },
        { "PreferencesDialogWarningBeforeWriting", "Warn before writing data" },
        { "PreferencesDialogFontSize", "List font size" },
        { "PresetWindowTitle", "Preset Data" },
        { "PresetInformationEditTitle", "Preset Information" },
        { "AboutDialogTitle", "About" },
        { "ProgramListColumnProgramName", "Program Name" },
        { "ProgramListColumnCategory", "Category" },
        { "DeleteTwitterAccountConfirmDialogTitle", "Confirm" },
        { "DeleteTwitterAccountConfirm", "Disconnect from Twitter. Are you sure?" },
        { "MovieTweetDialogTitle", "Tweet" },
        { "MovieTweetDialogDescription", "Let's tweet about this program sounds!" },
        { "RetweetDialogTitle", "Retweet" },
        { "RetweetConfirm", "Are you sure?" },
        { "DeleteTweetDialogTitle", "Delete Tweet" },
        { "DeleteTweetConfirm", "Are you sure?" },
        { "TwitterAuthorizeDialogTitle", "Authorize Twitter account" },
        { "TwitterAccessingToServer", "Accessing to twitter server..." },
        { "TwitterAuthorizeDescription1", "Click the below link, and authorize accessing to your twitter account by TarnOMBI Sound Librarian." },
        { "TwitterAuthorizeDescription2", "Then enter the displayed 7-digit PIN code." },
        { "TwitterGettingAccountInformation", "Getting account information..." },
        { "TwitterFailedToUpdateTweetList", "Failed to update tweets" },
        { "TwitterErrorTweetLength", "Tweet message is too long. Please shorten the message." },
        { "TwitterResultNoError", "Succeeded." },
        { "TwitterResultErrorInternal", "Internal Error..." },
        { "TwitterResultTimeout", "Timeout." },
        { "TwitterResultNetworkError", "Network Problem occurred" },
        { "TwitterResultErrorPinIsEmpty", "Please make sure the PIN code." },
        { "TwitterResultErrorNoAccessToken", "Twitter account is not authorized." },
        { "TwitterResultErrorAccountIsNotAuthorized", "Twitter account is not authorized." },
        { "TwitterResultFailedToOpenTokenFile", "Failed to load information of Twitter authorization." },
        { "TwitterResultFailedToWriteTokenFile", "Failed to save information of Twitter authorization." },
        { "TwitterResultErrorGetRequestToken", "Failed to authorize Twitter account." },
        { "TwitterResultErrorGetAccessToken", "Failed to authorize Twitter account." },
        { "TwitterResultErrorFailedToVerifyAccount", "Failed to verify Twitter account." },
        { "TwitterResultErrorEmptyAccountInformation", "No account information" },
        { "TwitterResultErrorTweetIsEmpty", "Input tweet." },
        { "TwitterResultErrorFailedToPostTweet", "Failed to tweet." },
        { "TwitterResultErrorSearchWordIsEmpty", "No search word." },
        { "TwitterResultErrorFailedToSearch", "Failed to search tweet." },
        { "TwitterResultErrorFailedToAnalyzeSearchResult", "Failed to analyze the search result." },
        { "TwitterResultErrorFailedToRetweet", "Failed to retweet." },
        { "TwitterResultErrorFailedToDeleteTweet", "Failed to delete the tweet." },
        { "TwitterResultErrorFailedToGetConfiguration", "Failed to get twitter configuration." },
        { "TwitterResultErrorUserIdIsEmpty", "No user ID information." },
        { "TwitterTaskAccountVerify", "AccountVerify" },
        { "TwitterTaskGetRequestToken", "GetRequestToken" },
        { "TwitterTaskGetAccessToken", "GetAccessToken" },
        { "TwitterTaskPostTweet", "PostTweet" },
        { "TwitterTaskSearch", "Search Tweets" },
        { "TwitterTaskGetProfileImage", "GetProfileImage" },
        { "TwitterTaskRetweet", "Retweet" },
        { "TwitterTaskDeleteTweet", "Delete Tweet" },
        { "TwitterTaskGetConfiguration", "GetConfiguration" },
        { "TwitterBeforeAuthorizeMessage1", "You can tweet and share information about each program sounds of TarnOMBI!" },
        { "TwitterBeforeAuthorizeMessage2", "Song title, artist name, music video, etc." },
        { "TwitterBeforeAuthorizeNotice", "* A dialog box allowing you to confirm the content of the tweet is always displayed before sending the tweet. TarnOMBI Sound Librarian will never tweet without your permission." },
        { "TwitterBeforeAuthorizeButton", "Authorize Twitter account" },
        { "TweetPrefixBeforeProgramName", "[TarnOMBI's " },
        { "TweetPrefixAfterProgramName", " sound] " },
        { "TweetSuffix", " " },
    };
    return texts;
}

std::unique_ptr<juce::XmlElement> parseEmbeddedTable (const juce::String& language)
{
    int size = 0;
    const auto* data = CPXRResource::findEmbeddedFile ("LocalizableStrings_" + language + ".xml", size);
    if (data == nullptr)
        return nullptr;
    return juce::parseXML (juce::String::fromUTF8 (data, size));
}

std::vector<juce::String> getKeys (const juce::XmlElement& table)
{
    std::vector<juce::String> keys;
    for (auto* element : table.getChildIterator())
        keys.push_back (element->getTagName());
    return keys;
}

void useLanguage (int language)
{
    CurrentLanguageModel::instance().setLanguage (language);
    CPXRResource::instance().reload();
}

struct EnglishAfterTest
{
    ~EnglishAfterTest() { useLanguage (CurrentLanguageModel::English); }
};
} // namespace

TEST (StringTables, BothLanguagesHaveTheSameKeysInTheSameForm)
{
    const auto english = parseEmbeddedTable ("en");
    const auto japanese = parseEmbeddedTable ("ja");
    ASSERT_NE (english, nullptr);
    ASSERT_NE (japanese, nullptr);

    for (const auto& [table, code] : { std::pair<juce::XmlElement*, const char*> { english.get(), "en" }, { japanese.get(), "ja" } })
    {
        SCOPED_TRACE (code);
        EXPECT_EQ (table->getTagName(), "Strings");
        EXPECT_EQ (table->getStringAttribute ("Language"), code);
        ASSERT_NE (table->getFirstChildElement(), nullptr);
        EXPECT_EQ (table->getFirstChildElement()->getTagName(), "Common_Language");
        EXPECT_EQ (table->getFirstChildElement()->getStringAttribute ("Text"), code);

        const auto keys = getKeys (*table);
        EXPECT_EQ (std::set<juce::String> (keys.begin(), keys.end()).size(), keys.size()) << "a key appears twice";
        for (auto* element : table->getChildIterator())
            EXPECT_TRUE (element->hasAttribute ("Text")) << element->getTagName();
    }

    const auto englishKeys = getKeys (*english);
    const auto japaneseKeys = getKeys (*japanese);
    EXPECT_EQ (std::set<juce::String> (englishKeys.begin(), englishKeys.end()),
               std::set<juce::String> (japaneseKeys.begin(), japaneseKeys.end()));
    EXPECT_EQ (englishKeys.size(), 197u);

    // Japanese leaves no text empty that English fills, and translates the texts.
    int translated = 0;
    for (auto* element : english->getChildIterator())
    {
        const auto englishText = element->getStringAttribute ("Text");
        const auto japaneseText = japanese->getChildByName (element->getTagName())->getStringAttribute ("Text");
        EXPECT_EQ (englishText.isEmpty(), japaneseText.isEmpty()) << element->getTagName();
        if (japaneseText != englishText)
            ++translated;
    }
    EXPECT_GT (translated, 150);
}

TEST (StringTables, EnglishTextsAreTheFixedOnes)
{
    const auto english = parseEmbeddedTable ("en");
    ASSERT_NE (english, nullptr);
    for (const auto& [key, text] : getFixedEnglishTexts())
    {
        const auto* element = english->getChildByName (key);
        ASSERT_NE (element, nullptr) << key;
        EXPECT_EQ (element->getStringAttribute ("Text"), text) << key;
    }
    // The keys without a fixed text still say something.
    for (auto* element : english->getChildIterator())
    {
        const auto fixed = getFixedEnglishTexts().count (element->getTagName()) > 0;
        EXPECT_TRUE (fixed || element->getStringAttribute ("Text").isNotEmpty()) << element->getTagName();
    }
}

TEST (StringTables, EveryKeyTheCodeAsksForIsInBothTables)
{
    const auto english = parseEmbeddedTable ("en");
    const auto japanese = parseEmbeddedTable ("ja");
    ASSERT_NE (english, nullptr);
    ASSERT_NE (japanese, nullptr);

    const std::regex lookup (R"((?:getLocalizedString|GetLocalizedString)\s*\(\s*"([^"]*)\")");
    std::set<std::string> keys;
    for (const auto* folder : { "source", "tools" })
    {
        for (const auto& entry : juce::RangedDirectoryIterator (juce::File (TARNOMBI_SOURCE_DIR).getChildFile (folder), true, "*.cpp;*.h"))
        {
            const auto text = entry.getFile().loadFileAsString().toStdString();
            for (std::sregex_iterator match (text.begin(), text.end(), lookup), end; match != end; ++match)
            {
                const auto key = (*match)[1].str();
                keys.insert (key);
                EXPECT_NE (english->getChildByName (key), nullptr) << key << " in " << entry.getFile().getFileName();
                EXPECT_NE (japanese->getChildByName (key), nullptr) << key << " in " << entry.getFile().getFileName();
            }
        }
    }
    EXPECT_FALSE (keys.empty()) << "the search found no lookups at all";
}

TEST (ResourceStore, LooksUpTheTableOfTheCurrentLanguage)
{
    EnglishAfterTest restore;

    useLanguage (CurrentLanguageModel::English);
    EXPECT_TRUE (CPXRResource::instance().hasStringTable());
    EXPECT_EQ (getLocalizedString ("CommonCancel"), "Cancel");
    EXPECT_EQ (getLocalizedString ("Common_Language"), "en");
    EXPECT_EQ (getLocalizedString ("TweetPrefixAfterProgramName"), " sound] ");

    useLanguage (CurrentLanguageModel::Japanese);
    EXPECT_EQ (getLocalizedString ("CommonCancel"), juce::String::fromUTF8 ("キャンセル"));
    EXPECT_EQ (getLocalizedString ("Common_Language"), "ja");
    EXPECT_EQ (getLocalizedString ("CommonApplicationName"), "TarnOMBI Sound Librarian");

    // An empty text, an unknown key and a key that is not even a valid name all give nothing.
    for (const auto* key : { "MidiCommunicationNoErrorDetail", "NoSuchKey", "", "not a key" })
        EXPECT_EQ (getLocalizedString (key), juce::String()) << key;
}

TEST (ResourceStore, MissingTableGivesEmptyTexts)
{
    CPXRResource missing ("NoSuchStrings");
    EXPECT_FALSE (missing.hasStringTable());
    EXPECT_EQ (missing.GetLocalizedString ("CommonOK"), juce::String());
    EXPECT_EQ (missing.LoadXml ("NoSuchStrings", "xml"), nullptr);

    int size = 0;
    char byte = 0;
    EXPECT_EQ (missing.Load ("NoSuchStrings", "xml", &byte, 1, &size), 0);
    EXPECT_EQ (size, -1);

    // A partial read reports the whole size and copies no more than asked for.
    char head[6] = {};
    EXPECT_EQ (missing.Load ("LocalizableStrings", "xml", head, 5, &size), 5);
    EXPECT_GT (size, 5);
    EXPECT_STREQ (head, "<?xml");
}
