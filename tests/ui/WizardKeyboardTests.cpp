#include "WizardTestSupport.h"

using namespace WizardTest;

namespace
{
const juce::KeyPress tab (juce::KeyPress::tabKey);
const juce::KeyPress shiftTab (juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0);
const juce::KeyPress returnKey (juce::KeyPress::returnKey);
const juce::KeyPress space (juce::KeyPress::spaceKey);
const juce::KeyPress escape (juce::KeyPress::escapeKey);
const juce::KeyPress shiftF10 (juce::KeyPress::F10Key, juce::ModifierKeys::shiftModifier, 0);
} // namespace

class WizardKeyboardTest : public WizardFixture
{
protected:
    /**
        Starts the wizard and lets the display's notice that the window has the
        keyboard arrive, which JUCE answers by focusing the window's default
        control again; on a loaded machine it can come late, and Xlib may hold
        it until more X traffic comes, which the repaints make.
    */
    void startAndSettle (int latencyMicroseconds = 0)
    {
        start ({}, latencyMicroseconds);
        pumpUntil (
            [this]
            {
                window->repaint();
                return window->getPeer()->isFocused() && focused() == "page text";
            },
            1500);
    }

    /** Presses a key on the window's keyboard, as the display hands it over, and lets it be handled. */
    void key (const juce::KeyPress& keyPress)
    {
        window->getPeer()->handleKeyUpOrDown (true);
        window->getPeer()->handleKeyPress (keyPress);
        window->getPeer()->handleKeyUpOrDown (false);
        pump();
    }

    /** The control with the keyboard: a button's name, "step title", "page text", "window" or "". */
    juce::String focused()
    {
        auto* focus = juce::Component::getCurrentlyFocusedComponent();

        if (focus == nullptr)
            return {};

        if (focus == window.getComponent())
            return "window";

        if (dynamic_cast<juce::Label*> (focus) != nullptr)
            return focus->getName() == "lblStep" ? "step title" : "page text";

        return focus->getName();
    }

    bool ringShowsOn (juce::Button& button)
    {
        return ringShows (*window->getContentComponent(), button);
    }
};

TEST_F (WizardKeyboardTest, TabGoesRoundTheButtonsShownWithTheirOwnRingAndReturnAndSpacePressThem)
{
    startAndSettle();
    EXPECT_EQ (focused(), "page text") << "the welcome page's text has the keyboard when the window opens";

    key (returnKey);
    expectPage (1, true, true, false);
    EXPECT_EQ (focused(), "step title") << "the new page took the keyboard";

    auto& previous = findControl<juce::TextButton> (*window, "Previous");
    const std::pair<juce::KeyPress, const char*> moves[] = {
        { tab, "Previous" }, { tab, "Next" }, { tab, "Previous" }, { shiftTab, "Next" }, { shiftTab, "Previous" },
    };

    for (const auto& [move, expected] : moves)
    {
        key (move);
        EXPECT_EQ (focused(), expected);
        auto& button = findControl<juce::TextButton> (*window, expected);
        EXPECT_TRUE (ringShowsOn (button)) << expected;
        EXPECT_FALSE (ringShowsOn (&button == &previous ? next() : previous));
        EXPECT_EQ (window->getContentComponent()->getNumChildComponents(), 5)
            << "no ring of JUCE's own over the picture";
    }

    key (space);
    expectPage (0, true, false, false);
    EXPECT_EQ (focused(), "page text") << "Space pressed Previous; the page took the keyboard";
    EXPECT_FALSE (ringShowsOn (next()));

    for (const auto& nothing : { escape, space, juce::KeyPress (juce::KeyPress::rightKey),
                                 juce::KeyPress ('n', juce::ModifierKeys::altModifier, 'n') })
    {
        key (nothing);
        expectPage (0, true, false, false);
        EXPECT_TRUE (window->isVisible());
    }

    key (tab);
    key (returnKey);
    expectPage (1, true, true, false);
    key (shiftTab);
    key (shiftTab);
    EXPECT_EQ (focused(), "Previous");
    key (returnKey);
    SCOPED_TRACE ("Return presses the focused button, not always Next");
    expectPage (0, true, false, false);
    EXPECT_EQ (app->quitRequests, 0);
    EXPECT_TRUE (alerts.empty());
}

TEST_F (WizardKeyboardTest, ShiftF10AndTheScreenReadersShowMenuOpenThePicturesMenuOnEveryPage)
{
    startAndSettle (200);
    auto& picture = *window->getContentComponent();

    for (int page : { 0, 6 })
    {
        SCOPED_TRACE ("page " + std::to_string (page));
        walkTo (page);

        for (auto open : { std::function<void()> ([&] { key (shiftF10); }),
                           std::function<void()> (
                               [&]
                               {
                                   ASSERT_TRUE (picture.getAccessibilityHandler()->getActions().invoke (
                                       juce::AccessibilityActionType::showMenu));
                                   pump();
                               }) })
        {
            open();
            auto* menu = juce::Component::getCurrentlyModalComponent();
            ASSERT_NE (menu, nullptr);
            auto* handler = menu->getAccessibilityHandler();
            ASSERT_NE (handler, nullptr);
            EXPECT_EQ (handler->getRole(), juce::AccessibilityRole::popupMenu);

            juce::StringArray items;

            for (auto* item : handler->getChildren())
                items.add (item->getTitle());

            EXPECT_EQ (items.joinIntoString ("|"), "About...|Exit...");

            key (escape);
            EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr) << "Escape closes the menu";
            EXPECT_EQ (window->getCurrentPage(), page);
            EXPECT_EQ (app->quitRequests, 0);
        }
    }
}

TEST_F (WizardKeyboardTest, NextPressedWithTheKeyboardOnPage5HandsItToTheTransferPagesTitle)
{
    startAndSettle (200);
    walkTo (5);
    key (tab);
    key (tab);
    ASSERT_EQ (focused(), "Next");

    // The page takes the keyboard before its buttons go, so that it never
    // passes through Previous, which a screen reader would read out.
    key (returnKey);
    expectPage (6, false, false, true);
    EXPECT_EQ (focused(), "step title");
}
