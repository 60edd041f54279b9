#include "application/LanguageAndFontSetup.h"
#include "application/LaunchSequence.h"
#include "application/PreferencesData.h"
#include "support/TestSupport.h"
#include "ui/FontLibrary.h"

#include <gtest/gtest.h>

using namespace x38200_preferences;

namespace
{
// A fresh preferences object over whatever file the folder holds now.
struct FreshPreferences
{
    FreshPreferences() { PreferencesData::instance().loadPreferencesData(); }
    PreferencesData& operator*() { return PreferencesData::instance(); }
    PreferencesData* operator->() { return &PreferencesData::instance(); }
};
} // namespace

TEST (Preferences, LivesInTheTestConfigFolderNeverTheUsersOwn)
{
    const auto folder = PreferencesData::instance().getPreferencesFolder();
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_EQ (folder.getFileName(), "OMBI TarnOMBI Sound Librarian");
    EXPECT_TRUE (folder.isAChildOf (tarnombi::test::getTestRootFolder()));
    EXPECT_EQ (PreferencesData::instance().getPreferencesFile().getFileName(), "PreferencesData.xml");
    EXPECT_FALSE (juce::String (getenv ("HOME")).startsWith ("/root") && folder.isAChildOf (juce::File ("/root/.config")));
}

TEST (Preferences, InitialValuesAndTheirFile)
{
    auto file = PreferencesData::instance().getPreferencesFile();
    file.deleteFile();
    FreshPreferences preferences;
    x38200_application::initializePreferences();

    EXPECT_TRUE (preferences->getBoolValue (PreferencesAutoReceive, false));
    EXPECT_TRUE (preferences->getBoolValue (PreferencesMidiPortAutoScan, false));
    EXPECT_TRUE (preferences->getBoolValue (PreferencesWarnBeforeWriting, false));
    EXPECT_FALSE (preferences->getBoolValue (PreferencesShowPresetWindow, true));
    EXPECT_FALSE (preferences->getBoolValue (PreferencesTwitterEnable, true));
    EXPECT_EQ (preferences->getIntValue (PreferencesProgramListHeight, 0), 25);
    EXPECT_EQ (preferences->getIntValue (PreferencesTwitterMaxNumLogs, 0), 1000);
    EXPECT_EQ (preferences->getIntValue (PreferencesTwitterUrlLength, 0), 22);
    EXPECT_EQ (preferences->getIntValue (PreferencesTwitterUrlLengthHttps, 0), 23);
    EXPECT_EQ (preferences->getStringValue (PreferencesMidiInPort, "x"), "");
    EXPECT_TRUE (preferences->hasElement (PreferencesTwitterUserName));
    // Window and account-ID keys get no initial value: their readers supply defaults.
    EXPECT_FALSE (preferences->hasElement (PreferencesWindowWidth));
    EXPECT_FALSE (preferences->hasElement (PreferencesTwitterUserID));
    EXPECT_EQ (preferences->getIntValue (PreferencesWindowPositionX, -1), -1);

    preferences->setValue (PreferencesWindowWidth, 900);
    ASSERT_TRUE (preferences->save());
    const auto xml = juce::XmlDocument::parse (file);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PreferencesData");
    ASSERT_EQ (xml->getNumChildElements(), 14);
    EXPECT_EQ (xml->getChildElement (0)->getTagName(), "AutoReceive");
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("Value"), "1");
    EXPECT_EQ (xml->getChildElement (12)->getTagName(), "TwitterShortUrlLengthHttps");
    EXPECT_EQ (xml->getChildElement (13)->getTagName(), "MainWindowWidth");
    EXPECT_EQ (xml->getChildElement (13)->getStringAttribute ("Value"), "900");
    // Nothing but the document is left in the folder.
    EXPECT_EQ (file.getParentDirectory().getNumberOfChildFiles (juce::File::findFiles), 1);
}

TEST (Preferences, ReadingRules)
{
    auto file = PreferencesData::instance().getPreferencesFile();
    struct Case
    {
        const char* what;
        const char* document;
        bool autoReceive; // read with default true
        int height;       // read with default 7
    };
    const Case cases[] = {
        { "zero is false", R"(<PreferencesData><AutoReceive Value="0"/><ProgramListHeight Value="30"/></PreferencesData>)", false, 30 },
        { "foreign root is used unchanged", R"(<Settings><AutoReceive Value="0"/><ProgramListHeight Value="35"/></Settings>)", false, 35 },
        { "element without the attribute", R"(<PreferencesData><AutoReceive/><ProgramListHeight/></PreferencesData>)", true, 7 },
        { "text where a number belongs", R"(<PreferencesData><ProgramListHeight Value="40px"/></PreferencesData>)", true, 40 },
        { "broken document", R"(<PreferencesData><AutoReceive Value="0")", true, 7 },
        { "empty file", "", true, 7 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_TRUE (file.replaceWithText (c.document));
        FreshPreferences preferences;
        EXPECT_EQ (preferences->getBoolValue (PreferencesAutoReceive, true), c.autoReceive);
        EXPECT_EQ (preferences->getIntValue (PreferencesProgramListHeight, 7), c.height);
    }

    // setInitValue never overwrites a stored value; setValue does.
    ASSERT_TRUE (file.replaceWithText (R"(<PreferencesData><ProgramListHeight Value="40"/></PreferencesData>)"));
    FreshPreferences preferences;
    x38200_application::initializePreferences();
    EXPECT_EQ (preferences->getIntValue (PreferencesProgramListHeight, 0), 40);
    preferences->setInitValue (PreferencesProgramListHeight, 20);
    EXPECT_EQ (preferences->getIntValue (PreferencesProgramListHeight, 0), 40);
    preferences->setValue (PreferencesProgramListHeight, 20);
    EXPECT_EQ (preferences->getIntValue (PreferencesProgramListHeight, 0), 20);
    preferences->setValue (PreferencesMidiInPort, "TarnOMBI - MIDI 1");
    EXPECT_EQ (preferences->getStringValue (PreferencesMidiInPort, {}), "TarnOMBI - MIDI 1");
    preferences->setValue (PreferencesTwitterEnable, true);
    EXPECT_EQ (preferences->getIntValue (PreferencesTwitterEnable, 5), 1);
}

TEST (Preferences, AFailedSaveKeepsThePreviousFile)
{
    auto file = PreferencesData::instance().getPreferencesFile();
    ASSERT_TRUE (file.replaceWithText (R"(<PreferencesData><AutoReceive Value="0"/></PreferencesData>)"));
    FreshPreferences preferences;
    preferences->setValue (PreferencesAutoReceive, true);

    // A folder that cannot be written to: the new file cannot be made.
    const auto folder = file.getParentDirectory();
    folder.setReadOnly (true);
    const bool savedWhileReadOnly = preferences->save();
    folder.setReadOnly (false);
    if (getuid() != 0) // root writes anyway
    {
        EXPECT_FALSE (savedWhileReadOnly);
        EXPECT_TRUE (file.loadFileAsString().contains ("Value=\"0\""));
    }
    EXPECT_TRUE (preferences->save());
    EXPECT_TRUE (file.loadFileAsString().contains ("Value=\"1\""));
}

TEST (Preferences, ListRowHeightSetsTheListFontSizes)
{
    x38200_application::initializeFontLibrary();
    auto& fonts = ui::FontLibrary::instance();
    const struct
    {
        int rowHeight, fontHeight;
    } cases[] = { { 30, 18 }, { 25, 15 }, { 20, 12 }, { 35, 21 }, { 40, 24 } };
    for (const auto& c : cases)
    {
        PreferencesData::instance().setValue (PreferencesProgramListHeight, c.rowHeight);
        PreferencesDataUpdater().updateProgramListSize();
        for (const auto* name : { "ProgramListNumber", "ProgramListName", "ProgramListCategory", "PresetListItemPresetData",
                                  "PresetListItemProgram" })
            EXPECT_EQ ((int) fonts.getFont (name).getHeight(), c.fontHeight) << name << " at " << c.rowHeight;
    }
    tarnombi::test::runMessageLoopFor (20);
}

TEST (Preferences, ChangeBroadcasterCoalesces)
{
    struct Observer : application::PreferencesDataChangeBroadcasterObserver
    {
        int calls = 0;
        void preferencesDataChanged() override { ++calls; }
    } observer;
    auto& broadcaster = application::PreferencesDataChangeBroadcaster::instance();
    broadcaster.addListener (&observer);
    PreferencesDataUpdater().startup();
    broadcaster.update();
    broadcaster.changeListenerCallback (nullptr);
    tarnombi::test::runMessageLoopFor (50);
    EXPECT_EQ (observer.calls, 1);
    broadcaster.removeListener (&observer);
}
