#pragma once

#include "app/UpdaterApplication.h"
#include "device/DeviceLink.h"
#include "device/TransferThread.h"
#include "sim/SimulatedSetup.h"
#include "tests/MessageLoop.h"
#include "ui/AboutBox.h"

#include <gtest/gtest.h>

#include <functional>

namespace WizardTest
{
/** The application object, except that quitting only counts: the test's message loop must keep running. */
class TestApplication : public UpdaterApplication
{
public:
    void quitMessageLoop() override
    {
        ++quitRequests;
    }

    int quitRequests = 0;
};

using ::pump;
using ::pumpUntil;

/** The child of the window's content with this component name and type, or nullptr. */
template <typename ComponentType>
ComponentType* findControl (UpdaterWindow& window, const juce::String& name)
{
    if (auto* content = window.getContentComponent())
        for (auto* child : content->getChildren())
            if (child->getName() == name)
                if (auto* typed = dynamic_cast<ComponentType*> (child))
                    return typed;

    return nullptr;
}

/** What a modal box showed while it was up, and which page the wizard was on at that moment. */
struct SeenBox
{
    juce::String title;
    juce::String description;
    int numButtons = 0;
    int pageMeanwhile = -2;
    juce::String stepTitleMeanwhile;
};

/**
    Watches for modal boxes while a test runs, as a user watching the screen
    would: notes what each one shows and closes it, an alert with its OK
    button and the about box with Escape.
*/
class BoxWatcher : private juce::Timer
{
public:
    explicit BoxWatcher (UpdaterWindow*& windowToWatch)
        : window (windowToWatch)
    {
        startTimer (20);
    }

    ~BoxWatcher() override
    {
        stopTimer();
    }

    std::vector<SeenBox> alerts;
    std::vector<SeenBox> aboutBoxes;

private:
    void timerCallback() override
    {
        auto* modal = juce::Component::getCurrentlyModalComponent();

        if (modal == nullptr || modal == handled.getComponent())
            return;

        handled = modal;

        if (auto* alert = dynamic_cast<juce::AlertWindow*> (modal))
        {
            alerts.push_back (describe (*alert, alert->getNumButtons()));

            for (auto* child : alert->getChildren())
                if (auto* button = dynamic_cast<juce::TextButton*> (child);
                    button != nullptr && button->getButtonText() == "OK")
                    button->triggerClick();
        }
        else if (auto* about = dynamic_cast<AboutBox*> (modal))
        {
            aboutBoxes.push_back (describe (*about, 0));
            about->getPeer()->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
        }
    }

    SeenBox describe (juce::Component& box, int numButtons) const
    {
        SeenBox seen{ box.getName(), box.getDescription(), numButtons };

        if (window != nullptr)
        {
            seen.pageMeanwhile = window->getCurrentPage();

            if (auto* stepLabel = findControl<juce::Label> (*window, "lblStep"))
                seen.stepTitleMeanwhile = stepLabel->getText();
        }

        return seen;
    }

    UpdaterWindow*& window;
    juce::Component::SafePointer<juce::Component> handled;
};

/**
    The program's application object and window on virtual ports with a
    simulated device, as initialise() builds them; shut down at the end.
*/
class WizardFixture : public ::testing::Test
{
protected:
    void start (SimulationOptions options = {}, int latencyMicroseconds = 0)
    {
        setup = std::make_unique<SimulatedSetup> (options, latencyMicroseconds);
        app = std::make_unique<TestApplication>();
        currentApplication = app.get();
        app->initialise ({});
        window = app->getMainWindow();
        ASSERT_NE (window, nullptr);
        watcher = std::make_unique<BoxWatcher> (window);
    }

    void TearDown() override
    {
        if (app != nullptr)
            app->shutdown();

        window = nullptr;
        watcher.reset();
        app.reset();
        setup.reset();
    }

    juce::TextButton& next()
    {
        return *findControl<juce::TextButton> (*window, "Next");
    }

    juce::TextButton& previous()
    {
        return *findControl<juce::TextButton> (*window, "Previous");
    }

    juce::Label& stepLabel()
    {
        return *findControl<juce::Label> (*window, "lblStep");
    }

    juce::Label& pageTextLabel()
    {
        return *findControl<juce::Label> (*window, {});
    }

    juce::Component& progressBar()
    {
        return *findControl<juce::Component> (*window, "_progressbar_");
    }

    /** Clicks a button as the user would, and lets the click be handled. */
    void press (juce::Button& button)
    {
        ASSERT_TRUE (button.isVisible()) << button.getName().toStdString() << " cannot be clicked while hidden";
        button.triggerClick();
        pump();
    }

    /** Presses Next from the welcome page up to the page given. */
    void walkTo (int page)
    {
        while (window->getCurrentPage() < page && ! HasFatalFailure())
            press (next());

        ASSERT_EQ (window->getCurrentPage(), page);
    }

    bool waitForPage (int page, int timeoutMs = 60000)
    {
        return pumpUntil ([&] { return window->getCurrentPage() == page && ! transferRunning; }, timeoutMs);
    }

    std::unique_ptr<SimulatedSetup> setup;
    std::unique_ptr<TestApplication> app;
    UpdaterWindow* window = nullptr;
    std::unique_ptr<BoxWatcher> watcher;
};
} // namespace WizardTest
