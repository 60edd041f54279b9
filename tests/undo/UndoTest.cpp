// The undo manager, the four edit actions and the edited flag, alone and together with
// the file operations that open, save, load and import.

#include "application/ApplicationUndoManager.h"
#include "application/DataEditStatus.h"
#include "application/FileAccessProcessor.h"
#include "application/UndoActions.h"
#include "data/DataCenter.h"
#include "file/LibraryFiles.h"
#include "files/TimbrixFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using application::ApplicationUndoManager;
using application::DataEditStatus;
using application::LastSavedFileStatus;
using namespace x38200_action;

namespace
{
x38200_data::LibraryData& library() { return x38200_data::DataCenter::instance().libraryData; }
ApplicationUndoManager& undoManager() { return ApplicationUndoManager::instance(); }
bool isEdited() { return DataEditStatus::instance().isEdited(); }

x38200_data::ProgramData makeProgram (int seed, const juce::String& programmer = {})
{
    x38200_data::ProgramData program;
    for (int i = 12; i < 320; ++i)
        program.rawData.bytes[i] = (std::uint8_t) ((seed * 31 + i) & 0xFF);
    program.updateMD5();
    program.information.programmer = programmer;
    return program;
}

x38200_data::LibraryData makeLibrary (int seed)
{
    x38200_data::LibraryData made;
    for (int i = 0; i < 300; ++i)
        made.getProgramData (i) = makeProgram (seed * 1000 + i, "p" + juce::String (i));
    made.favoriteData.setFavoriteData (1, 1, seed);
    return made;
}

class Undo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data::DataChangeBroadcaster::instance(); // listens to the undo manager, as at start-up
        undoManager().applyApplicationLimits();
        undoManager().clearUndoHistory();
        library() = x38200_data::LibraryData();
        DataEditStatus::instance().clearEdited();
        LastSavedFileStatus::instance().setSavedFile ({});
        folder = tarnombi::test::makeTemporaryFolder ("undo");
    }

    // A library file on disk and opened, as the edge cases start.
    void openLibrary (int seed)
    {
        const auto file = folder.getNonexistentChildFile ("opened", ".tolib", false);
        ASSERT_EQ (x38200_file::LibraryFileWriter (makeLibrary (seed)).writeToFile (file), 0);
        ASSERT_EQ (x38200_application::FileAccessProcessor().executeFileOpen (file), 0);
    }

    void perform (const juce::String& transaction, std::initializer_list<juce::UndoableAction*> actions)
    {
        undoManager().beginNewTransaction (transaction);
        for (auto* action : actions)
            undoManager().perform (action);
    }

    juce::File folder;
};
} // namespace

TEST_F (Undo, CutThenUndoRestoresTheProgramAndTheUneditedState)
{
    openLibrary (1);
    const auto before = library().getProgramData (5);
    EXPECT_FALSE (isEdited());
    EXPECT_FALSE (undoManager().canUndo());

    perform ("CutProgramData", { new InitializeProgramDataAction (5) });
    EXPECT_EQ (library().getProgramData (5).md5, x38200_data::ProgramData().md5);
    EXPECT_TRUE (isEdited());

    ASSERT_TRUE (undoManager().undo());
    EXPECT_TRUE (library().getProgramData (5) == before);
    EXPECT_FALSE (isEdited());

    // Redo performs again and marks the library edited again.
    ASSERT_TRUE (undoManager().redo());
    EXPECT_EQ (library().getProgramData (5).md5, x38200_data::ProgramData().md5);
    EXPECT_TRUE (isEdited());
}

TEST_F (Undo, CutSaveUndoLeavesTheLibraryUnedited)
{
    openLibrary (2);
    const auto before = library().getProgramData (9);
    perform ("CutProgramData", { new InitializeProgramDataAction (9) });
    ASSERT_EQ (x38200_application::FileAccessProcessor().executeFileSave (folder.getChildFile ("saved.tolib")), 0);
    EXPECT_FALSE (isEdited());
    EXPECT_TRUE (undoManager().canUndo()); // saving keeps the history

    ASSERT_TRUE (undoManager().undo());
    EXPECT_TRUE (library().getProgramData (9) == before);
    EXPECT_FALSE (isEdited()); // the cut was made on an unedited library
}

TEST_F (Undo, UndoingAnEditMadeOnAnEditedLibraryKeepsTheFlag)
{
    openLibrary (3);
    perform ("CutProgramData", { new InitializeProgramDataAction (1) });
    const auto pasted = makeProgram (77, "pasted");
    const auto beforePaste = library().getProgramData (2);
    perform ("PasteProgramData", { new SetProgramDataAction (2, pasted) });
    EXPECT_TRUE (library().getProgramData (2) == pasted);
    EXPECT_EQ (library().getProgramData (2).md5, pasted.md5);

    ASSERT_TRUE (undoManager().undo());
    EXPECT_TRUE (library().getProgramData (2) == beforePaste);
    EXPECT_TRUE (isEdited());
}

TEST_F (Undo, OneUndoRestoresEveryProgramOfATransaction)
{
    openLibrary (4);
    const auto copy = library();
    perform ("ClearProgramData", { new InitializeProgramDataAction (3), new InitializeProgramDataAction (4), new InitializeProgramDataAction (200) });
    EXPECT_FALSE (library() == copy);
    ASSERT_TRUE (undoManager().undo());
    EXPECT_TRUE (library() == copy);
    EXPECT_FALSE (undoManager().canUndo());
}

TEST_F (Undo, OpenClearsTheHistory)
{
    perform ("CutProgramData", { new InitializeProgramDataAction (0) });
    ASSERT_TRUE (undoManager().canUndo());
    openLibrary (5);
    EXPECT_FALSE (undoManager().canUndo());
    EXPECT_FALSE (isEdited());
}

TEST_F (Undo, TwentyLibraryReplacementsStayUndoable)
{
    // Ten steps (2,147,280 units) are all kept: with at most 20 transactions nothing is dropped.
    for (int i = 0; i < 10; ++i)
        perform ("Receive Library", { new SetLibraryDataAction (makeLibrary (i + 1)) });
    int undone = 0;
    while (undoManager().undo())
        ++undone;
    EXPECT_EQ (undone, 10);
    EXPECT_TRUE (library() == x38200_data::LibraryData());
    EXPECT_FALSE (isEdited());

    // Of twenty-five steps only the twenty newest can be undone.
    undoManager().clearUndoHistory();
    for (int i = 0; i < 25; ++i)
        perform ("Receive Library", { new SetLibraryDataAction (makeLibrary (i + 1)) });
    undone = 0;
    while (undoManager().undo())
        ++undone;
    EXPECT_EQ (undone, 20);
    EXPECT_TRUE (library() == makeLibrary (5)); // the state after the fifth step
}

TEST_F (Undo, ANewEditAfterUndoDropsTheRedo)
{
    perform ("SetFavoriteData", { new SetFavoriteParameterAction (2, 3, 150) });
    ASSERT_TRUE (undoManager().undo());
    ASSERT_TRUE (undoManager().canRedo());
    perform ("SetFavoriteData", { new SetFavoriteParameterAction (2, 4, 151) });
    EXPECT_FALSE (undoManager().canRedo());
}

TEST_F (Undo, FavoriteActionAndSizes)
{
    const auto previous = library().favoriteData.getFavoriteData (4, 7);
    perform ("SwapFavoriteData", { new SetFavoriteParameterAction (4, 7, 299) });
    EXPECT_EQ (library().favoriteData.getFavoriteData (4, 7), 299);
    ASSERT_TRUE (undoManager().undo());
    EXPECT_EQ (library().favoriteData.getFavoriteData (4, 7), previous);

    EXPECT_EQ (InitializeProgramDataAction (0).getSizeInUnits(), 360);
    EXPECT_EQ (SetProgramDataAction (0, {}).getSizeInUnits(), 716);
    EXPECT_EQ (SetLibraryDataAction ({}).getSizeInUnits(), 214728);
    EXPECT_EQ (SetFavoriteParameterAction (0, 0, 0).getSizeInUnits(), 20);
}

TEST_F (Undo, ActionsOnAnInvalidProgramNumberChangeNoProgram)
{
    const auto copy = library();
    perform ("PasteProgramData", { new SetProgramDataAction (300, makeProgram (5)) });
    perform ("CutProgramData", { new InitializeProgramDataAction (-1) });
    EXPECT_TRUE (library() == copy);
    EXPECT_TRUE (undoManager().undo());
    EXPECT_TRUE (undoManager().undo());
    EXPECT_TRUE (library() == copy);
}

TEST_F (Undo, LoadProgramIsUndoable)
{
    const auto file = folder.getChildFile ("one.toprog");
    const auto loaded = makeProgram (12, "loaded");
    ASSERT_EQ (x38200_file::ProgramFileWriter (loaded).writeToFile (file), 0);
    const auto before = library().getProgramData (12);

    ASSERT_EQ (x38200_application::FileAccessProcessor().executeFileLoadProgram (file, 12), 0);
    EXPECT_TRUE (library().getProgramData (12) == loaded);
    EXPECT_TRUE (isEdited());
    EXPECT_EQ (undoManager().getUndoDescription(), "LoadProgram");
    ASSERT_TRUE (undoManager().undo());
    EXPECT_TRUE (library().getProgramData (12) == before);
    EXPECT_FALSE (isEdited());

    // A file that fails to read changes nothing and records nothing.
    EXPECT_EQ (x38200_application::FileAccessProcessor().executeFileLoadProgram (folder.getChildFile ("missing.toprog"), 12), 6);
    EXPECT_FALSE (undoManager().canUndo());
}

TEST_F (Undo, FailedOpenKeepsLibraryFileFlagAndHistory)
{
    openLibrary (6);
    const auto opened = LastSavedFileStatus::instance().getSavedFile();
    perform ("CutProgramData", { new InitializeProgramDataAction (0) });
    const auto copy = library();

    const auto broken = folder.getChildFile ("broken.tolib");
    broken.replaceWithText ("not a library");
    EXPECT_EQ (x38200_application::FileAccessProcessor().executeFileOpen (broken), 6);
    EXPECT_TRUE (library() == copy);
    EXPECT_EQ (LastSavedFileStatus::instance().getSavedFile(), opened);
    EXPECT_TRUE (isEdited());
    EXPECT_TRUE (undoManager().canUndo());
}

TEST_F (Undo, FileOperationsSetTheCurrentFileAndTheFlag)
{
    x38200_application::FileAccessProcessor processor;
    perform ("CutProgramData", { new InitializeProgramDataAction (0) });

    // Save: current file and clean flag; a failed save changes neither.
    const auto saved = folder.getChildFile ("saved.tolib");
    ASSERT_EQ (processor.executeFileSave (saved), 0);
    EXPECT_EQ (LastSavedFileStatus::instance().getSavedFile(), saved);
    perform ("CutProgramData", { new InitializeProgramDataAction (1) });
    EXPECT_EQ (processor.executeFileSave (folder.getChildFile ("no/such/folder.tolib")), x38200_file::WriteErrorOpenFile);
    EXPECT_EQ (LastSavedFileStatus::instance().getSavedFile(), saved);
    EXPECT_TRUE (isEdited());

    // Import of an older editor's file: no current file, clean flag, no history.
    const auto olderFile = folder.getChildFile ("old.X38200_all");
    olderFile.replaceWithText ("broken");
    EXPECT_EQ (processor.executeImportTimbrixEditorFile (olderFile), x38200_file::ReadErrorInvalidType);
    EXPECT_TRUE (undoManager().canUndo());

    using namespace tarnombi::test;
    const auto content = timbrixFile ({ timbrixProgramSet(), timbrixGlobal (10), timbrixBlock ("x", {}) });
    olderFile.replaceWithData (content.getData(), content.getSize());
    ASSERT_EQ (processor.executeImportTimbrixEditorFile (olderFile), 0);
    EXPECT_FALSE (LastSavedFileStatus::instance().hasSavedFile());
    EXPECT_FALSE (isEdited());
    EXPECT_FALSE (undoManager().canUndo());
    EXPECT_EQ (library().getProgramData (8).information.programmer, "Prog8");
    EXPECT_EQ (library().favoriteData.getFavoriteData (0, 0), 10);
}

TEST_F (Undo, SaveLibraryAsPresetEmptiesOnlyTheNotes)
{
    library() = makeLibrary (8);
    library().getProgramData (3).information.youTubeLink = "link";
    x38200_data::PresetInformation information;
    information.dataID = "mine";
    information.prefix = "ABCD";
    const auto file = folder.getChildFile ("mine.topreset");
    ASSERT_EQ (x38200_application::FileAccessProcessor().executeSaveLibraryAsPreset (file, information), 0);

    x38200_data::PresetData preset;
    ASSERT_EQ (x38200_file::PresetFileReader (preset).readFromFile (file), 0);
    EXPECT_TRUE (preset.information == information);
    for (int i = 0; i < 300; ++i)
    {
        EXPECT_TRUE (preset.getProgramData (i).information.programmer.isEmpty());
        EXPECT_EQ (preset.getProgramData (i).md5, library().getProgramData (i).md5);
    }
    EXPECT_EQ (library().getProgramData (3).information.programmer, "p3");
    EXPECT_FALSE (LastSavedFileStatus::instance().hasSavedFile());
}

//==============================================================================
namespace
{
struct EditListener : application::DataEditStatusListener, application::LastSavedFileStatusListener, data::DataChangeObserver
{
    void dataEditStatusChanged (const bool& edited) override { editedCalls.push_back (edited); }
    void lastSavedFileChanged (const juce::File& file) override { files.push_back (file); }
    void dataChanged() override { ++dataChangedCalls; }
    std::vector<bool> editedCalls;
    std::vector<juce::File> files;
    int dataChangedCalls = 0;
};
} // namespace

TEST_F (Undo, NotificationsArriveLaterAndCoalesced)
{
    tarnombi::test::runMessageLoopFor (20);
    EditListener listener;
    DataEditStatus::instance().addListener (&listener);
    LastSavedFileStatus::instance().addListener (&listener);
    data::DataChangeBroadcaster::instance().addListener (&listener);

    perform ("CutProgramData", { new InitializeProgramDataAction (0) });
    undoManager().undo();
    undoManager().redo();
    LastSavedFileStatus::instance().setSavedFile (folder.getChildFile ("a.tolib"));
    LastSavedFileStatus::instance().setSavedFile (folder.getChildFile ("b.tolib"));
    EXPECT_TRUE (listener.editedCalls.empty());
    EXPECT_EQ (listener.dataChangedCalls, 0);

    tarnombi::test::runMessageLoopFor (50);
    EXPECT_EQ (listener.editedCalls, std::vector<bool> { true });
    ASSERT_EQ (listener.files.size(), 1u);
    EXPECT_EQ (listener.files[0], folder.getChildFile ("b.tolib"));
    EXPECT_EQ (listener.dataChangedCalls, 1);

    // Setting the same values again notifies nobody.
    DataEditStatus::instance().edited();
    LastSavedFileStatus::instance().setSavedFile (folder.getChildFile ("b.tolib"));
    tarnombi::test::runMessageLoopFor (30);
    EXPECT_EQ (listener.editedCalls.size(), 1u);
    EXPECT_EQ (listener.files.size(), 1u);

    DataEditStatus::instance().removeListener (&listener);
    LastSavedFileStatus::instance().removeListener (&listener);
    data::DataChangeBroadcaster::instance().removeListener (&listener);
}
