#include "application/DebugModeModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using x38200_application::DebugModeModel;

TEST (DebugMode, MarkerFilesCountOnlyAsFiles)
{
    struct Case
    {
        const char* what;
        bool developerFile, debugFile, debugIsFolder;
        bool developer, debug;
    };
    const Case cases[] = {
        { "no markers", false, false, false, false, false },
        { "developer marker", true, false, false, true, false },
        { "debug marker", false, true, false, false, true },
        { "both", true, true, false, true, true },
        { "a folder named like the debug marker", false, false, true, false, false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto folder = tarnombi::test::makeTemporaryFolder ("markers");
        if (c.developerFile)
            folder.getChildFile ("DeveloperMode_38200.txt").replaceWithText ("anything");
        if (c.debugFile)
            folder.getChildFile ("DebugMode.txt").create();
        if (c.debugIsFolder)
            folder.getChildFile ("DebugMode.txt").createDirectory();

        auto& model = DebugModeModel::instance();
        model.setDeveloperMode (false);
        model.setDebugMode (false);
        x38200_application::initializeDebugMode (folder);
        EXPECT_EQ (model.isDeveloperMode(), c.developer);
        EXPECT_EQ (model.isDebugWindowEnabled(), c.debug);
        EXPECT_EQ (model.isDebugDisplayEnabled(), c.debug);
    }
}
