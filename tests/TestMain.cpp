#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// Every suite runs with JUCE initialised, so that message-thread code,
// timers, command messages and components behave as in the program.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
