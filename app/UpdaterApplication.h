#pragma once

#include "app/QuitSignalWatcher.h"
#include "ui/UpdaterWindow.h"

#if JUCE_WINDOWS
#include "app/WineRepaintTimer.h"
#endif

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/**
    The updater's one application object: opens the wizard window, names the
    application (also the window's title and the single-instance lock's name)
    and settles when the program may end.

    Every control that ends the program goes through requestQuit(), which
    refuses while a firmware transfer runs, so a transfer cannot be cut off
    from the user interface. A quit asked for by the system (on Linux and
    macOS also by SIGTERM, SIGINT or SIGHUP) during a transfer is carried out
    once the transfer's notice has been handled.
*/
class UpdaterApplication : public juce::JUCEApplication
{
public:
    /** Creates the application object; initialise() opens the window. */
    UpdaterApplication();

    /** Clears the picture registry and, if it is this object, currentApplication. */
    ~UpdaterApplication() override;

    /**
        Registers the built-in pictures, opens the wizard window and starts
        taking quit signals as system quit requests; the command line is ignored.
    */
    void initialise (const juce::String& commandLine) override;

    /**
        Ends a transfer that is still running (asks its thread to exit and waits
        for it; the thread is never killed), then deletes the window and
        releases the device link's ports.
    */
    void shutdown() override;

    /** The product name followed by " - Firmware Version: " and the built-in firmware's version. */
    const juce::String getApplicationName() override;

    /** The application version, the project's. */
    const juce::String getApplicationVersion() override;

    /** False: a second start hands its command line to this instance and ends. */
    bool moreThanOneInstanceAllowed() override;

    /** Quits as requestQuit() does, or, while a transfer runs, once it has ended. */
    void systemRequestedQuit() override;

    /** Does nothing while a transfer runs; otherwise releases the device link's ports and quits. */
    virtual void requestQuit();

    /** Called by the window once it has handled a transfer's notice: carries out a quit deferred meanwhile. */
    void transferNoticeHandled();

    /** Asks the framework to end the message loop, without force. */
    virtual void quitMessageLoop();

    /** The wizard window, or nullptr before initialise() and after shutdown(). */
    UpdaterWindow* getMainWindow() const noexcept;

private:
    std::unique_ptr<UpdaterWindow> mainWindow;
    std::unique_ptr<QuitSignalWatcher> quitSignalWatcher;
#if JUCE_WINDOWS
    std::unique_ptr<WineRepaintTimer> wineRepaintTimer;
#endif
    bool quitDeferred = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdaterApplication)
};

/** The one application object, set by the entry point; nullptr before it and after the object is gone. */
extern UpdaterApplication* currentApplication;

/**
    The program's entry point: creates the application object, stores it in
    currentApplication and runs it with the command line until it quits (or
    refuses to start because another instance runs). Returns 0 either way.
*/
int runUpdaterApplication (int argc, char* argv[]);
