#include "WizardTestSupport.h"

#include "ui/WizardLookAndFeel.h"

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
        keyboard arrive. JUCE answers that notice by focusing the window again,
        which would undo a move that a key had made meanwhile; on a loaded
        machine it can come late, and Xlib may even hold it until more X
        traffic comes, which the repaints make. Until the notice has come, Next
        holds the keyboard, so its arrival shows.
    */
    void startAndSettle (int latencyMicroseconds = 0)
    {
        start ({}, latencyMicroseconds);
        next().grabKeyboardFocus();
        pumpUntil (
            [this]
            {
                window->repaint();
                return focused() == "window";
            },
            1500);
        window->grabKeyboardFocus();
    }

    /** Whether the focus ring comes to lie there within a second (JUCE moves it after the focus, asynchronously). */
    bool ringBecomes (juce::Rectangle<int> expected)
    {
        return pumpUntil ([&] { return ring() == expected; }, 1000);
    }

    /** Presses a key on the window's keyboard, as the system hands it over, and lets it be handled. */
    void key (const juce::KeyPress& keyPress)
    {
        window->getPeer()->handleKeyPress (keyPress);
        pump();
    }

    /** The name of the control with the keyboard: "window" for the window itself. */
    juce::String focused()
    {
        auto* focus = juce::Component::getCurrentlyFocusedComponent();
        return focus == window.getComponent() ? juce::String ("window") : focus != nullptr ? focus->getName() : "";
    }

    /** Where a focus ring shows over the page: a shown child of the content that is none of the page's controls. */
    juce::Rectangle<int> ring()
    {
        for (auto* child : window->getContentComponent()->getChildren())
            if (child->isVisible() && child->getName().isEmpty() && dynamic_cast<juce::Label*> (child) == nullptr)
                return child->getBounds();

        return {};
    }

    juce::Rectangle<int> ringAround (juce::Component& button)
    {
        return button.getBounds().expanded (WizardLookAndFeel::ringGap);
    }
};

TEST_F (WizardKeyboardTest, TabGoesRoundTheButtonsShownWithARingAndReturnAndSpacePressThem)
{
    startAndSettle();
    EXPECT_EQ (focused(), "window") << "the window has the keyboard when it opens";
    EXPECT_TRUE (ringBecomes ({}));

    key (returnKey);
    expectPage (1, true, true, false);
    EXPECT_EQ (focused(), "window") << "Return pressed Next without moving the keyboard";
    EXPECT_TRUE (ringBecomes ({})) << "no ring until a button has the keyboard";

    const std::pair<juce::KeyPress, const char*> moves[] = {
        { tab, "Previous" }, { tab, "Next" }, { tab, "Previous" }, { shiftTab, "Next" }, { shiftTab, "Previous" },
    };

    for (const auto& [move, expected] : moves)
    {
        key (move);
        EXPECT_EQ (focused(), expected);
        EXPECT_TRUE (ringBecomes (ringAround (findControl<juce::TextButton> (*window, expected)))) << expected;
    }

    key (space);
    expectPage (0, true, false, false);
    EXPECT_EQ (focused(), "Next") << "Previous went, Next took the keyboard";
    EXPECT_TRUE (ringBecomes (ringAround (next())));

    for (const auto& nothing : { escape, juce::KeyPress (juce::KeyPress::rightKey),
                                 juce::KeyPress ('n', juce::ModifierKeys::altModifier, 'n') })
    {
        key (nothing);
        expectPage (0, true, false, false);
        EXPECT_TRUE (window->isVisible());
    }

    key (space);
    expectPage (1, true, true, false);
    key (returnKey);
    expectPage (2, true, true, false);
    EXPECT_EQ (app->quitRequests, 0);
    EXPECT_TRUE (alerts.empty());
}

TEST_F (WizardKeyboardTest, ShiftF10OpensThePicturesMenuOnEveryPageAndEscapeClosesIt)
{
    startAndSettle (200);

    for (int page : { 0, 6 })
    {
        SCOPED_TRACE ("page " + std::to_string (page));
        walkTo (page);
        key (shiftF10);

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
