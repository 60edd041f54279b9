#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main (int argc, char** argv)
{
    // Tests never touch the user's real folders: every run gets fresh ones.
    tarnombi::test::redirectUserFolders();
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
