#include "WizardTestSupport.h"

using namespace WizardTest;

namespace
{
const juce::KeyPress tab (juce::KeyPress::tabKey);
const juce::KeyPress shiftTab (juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0);
const juce::KeyPress returnKey (juce::KeyPress::returnKey);
const juce::KeyPress space (juce::KeyPress::spaceKey);
const juce::KeyPress escape (juce::KeyPress::escapeKey);
} // namespace

using WizardKeyboardTest = WizardFixture;

TEST_F (WizardKeyboardTest, TabGoesRoundTheButtonsShownWithTheirOwnRingAndReturnAndSpacePressThem)
{
    start();
    settle();
    expectPage (0);

    key (returnKey);
    expectPage (1);

    auto& content = *window->getContentComponent();
    auto& previous = findControl<juce::TextButton> (*window, "Previous");
    const std::pair<juce::KeyPress, const char*> moves[] = {
        { tab, "Previous" }, { tab, "Next" }, { tab, "Previous" }, { shiftTab, "Next" }, { shiftTab, "Previous" },
    };

    for (const auto& [move, expected] : moves)
    {
        key (move);
        expectPage (1, expected);
        auto& button = findControl<juce::TextButton> (*window, expected);
        EXPECT_TRUE (ringShows (content, button)) << expected;
        EXPECT_FALSE (ringShows (content, &button == &previous ? next() : previous));
        EXPECT_EQ (content.getNumChildComponents(), 5) << "no ring of JUCE's own over the picture";
    }

    key (space);
    expectPage (0);
    EXPECT_FALSE (ringShows (content, next()));

    for (const auto& nothing : { escape, space, juce::KeyPress (juce::KeyPress::rightKey),
                                 juce::KeyPress ('n', juce::ModifierKeys::altModifier, 'n') })
    {
        key (nothing);
        expectPage (0);
        EXPECT_TRUE (window->isVisible());
    }

    key (tab);
    key (returnKey);
    expectPage (1);
    key (shiftTab);
    key (shiftTab);
    expectPage (1, "Previous");
    key (returnKey);
    SCOPED_TRACE ("Return presses the focused button, not always Next");
    expectPage (0);
    EXPECT_EQ (app->quitRequests, 0);
    EXPECT_TRUE (alerts.empty());
}

TEST_F (WizardKeyboardTest, ShiftF10AndTheScreenReadersShowMenuOpenThePicturesMenuOnEveryPage)
{
    start ({}, 200);
    settle();
    auto& picture = *window->getContentComponent();

    for (int page : { 0, 6 })
    {
        walkTo (page);

        for (bool byKey : { true, false })
        {
            SCOPED_TRACE ("page " + std::to_string (page) + (byKey ? ", Shift+F10" : ", a screen reader's show menu"));

            if (byKey)
                key (juce::KeyPress (juce::KeyPress::F10Key, juce::ModifierKeys::shiftModifier, 0));
            else
                ASSERT_TRUE (
                    picture.getAccessibilityHandler()->getActions().invoke (juce::AccessibilityActionType::showMenu));

            pump();
            auto* menu = juce::Component::getCurrentlyModalComponent();
            ASSERT_TRUE (menu != nullptr && menu->getAccessibilityHandler() != nullptr);
            EXPECT_EQ (menu->getAccessibilityHandler()->getRole(), juce::AccessibilityRole::popupMenu);
            juce::StringArray items;

            for (auto* item : menu->getAccessibilityHandler()->getChildren())
                items.add (item->getTitle());

            EXPECT_EQ (items.joinIntoString ("|"), "About...|Exit...");
            key (escape);
            EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr) << "Escape closes the menu";
            EXPECT_EQ (window->getCurrentPage(), page);
            EXPECT_EQ (app->quitRequests, 0);
        }
    }
}
