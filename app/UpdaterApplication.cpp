#include "app/UpdaterApplication.h"

#include "app/ImageRegistry.h"
#include "app/ProductFacts.h"
#include "device/DeviceLink.h"
#include "device/TransferThread.h"

UpdaterApplication* currentApplication = nullptr;

UpdaterApplication::UpdaterApplication() = default;

UpdaterApplication::~UpdaterApplication()
{
    clearImageRegistry();

    if (currentApplication == this)
        currentApplication = nullptr;
}

void UpdaterApplication::initialise (const juce::String&)
{
#if JUCE_WINDOWS
    wineRepaintTimer = WineRepaintTimer::startIfUnderWine();
#endif
    registerBuiltInImages();
    mainWindow = std::make_unique<UpdaterWindow>();
    mainWindow->setVisible (true);
    quitSignalWatcher = std::make_unique<QuitSignalWatcher> ([this] { systemRequestedQuit(); });
}

void UpdaterApplication::shutdown()
{
    JUCE_ASSERT_MESSAGE_THREAD

    quitSignalWatcher.reset();
#if JUCE_WINDOWS
    wineRepaintTimer.reset();
#endif

    // The thread reports to the window, so it must be gone before the window
    // goes; its exit request ends the transfer at the next acknowledged byte.
    destroyTransferThread();

    mainWindow.reset();
    deviceLink().close();
}

const juce::String UpdaterApplication::getApplicationName()
{
    return ProductFacts::applicationName;
}

const juce::String UpdaterApplication::getApplicationVersion()
{
    return ProductFacts::applicationVersion;
}

bool UpdaterApplication::moreThanOneInstanceAllowed()
{
    return false;
}

void UpdaterApplication::systemRequestedQuit()
{
    if (transferRunning)
        quitDeferred = true;
    else
        requestQuit();
}

void UpdaterApplication::requestQuit()
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (transferRunning)
        return;

    deviceLink().close();
    quitMessageLoop();
}

void UpdaterApplication::transferNoticeHandled()
{
    if (quitDeferred && ! transferRunning)
    {
        quitDeferred = false;
        requestQuit();
    }
}

void UpdaterApplication::quitMessageLoop()
{
    quit();
}

UpdaterWindow* UpdaterApplication::getMainWindow() const noexcept
{
    return mainWindow.get();
}

int runUpdaterApplication (int argc, char* argv[])
{
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase*
    {
        currentApplication = new UpdaterApplication();
        return currentApplication;
    };

#if JUCE_WINDOWS
    // JUCE is built for Windows GUI programs: it reads the command line from the
    // system, as Unicode, and both the GUI updater and the console demo use it.
    juce::ignoreUnused (argc, argv);
    juce::JUCEApplicationBase::main();
#else
    juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
#endif
    return 0;
}
