#pragma once

#include "ui/TransferProgressBar.h"
#include "ui/WizardButton.h"
#include "ui/WizardKeyboard.h"
#include "ui/WizardLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

class BackgroundPicture;

/**
    The updater's main window: an eight-page wizard over the device picture.

    Page 0 welcomes the user, pages 1 to 5 prepare and find the device (leaving
    page 4 searches every MIDI port pair), page 6 runs the transfer with its
    progress bar, and page 7 tells the user how to restart the device; Next
    reads "Finish" there and ends the program. The transfer thread's notices
    lead to page 7, or to the transfer-error box and then back to page 0.

    Buttons are told apart by their component names, "Next" and "Previous",
    never by their texts; a press counts only while its button is shown, and
    no page turns while the transfer runs. The window takes the keyboard when
    it opens (WizardKeyboard has its keys) and gives it to the page's first
    text, so that a screen reader reads each page as it is shown. Everything
    here runs on the message thread.
*/
class UpdaterWindow : public juce::DialogWindow, public juce::ActionListener
{
public:
    /** The registry id of the device picture, the window's backdrop. */
    static constexpr int devicePictureId = 0;

    /** The page on which the transfer runs, and the last page. */
    static constexpr int updatePage = 6;
    static constexpr int lastPage = 7;

    /** The texts of the two error boxes. */
    static const char* const deviceNotFoundMessage;
    static const char* const transferErrorMessage;

    /**
        Builds the window over the device picture, shows the welcome page,
        centres the window, shows it and gives it the keyboard.
    */
    UpdaterWindow();

    /** Asks the application to quit, so the program ends with its main window. */
    ~UpdaterWindow() override;

    /** The number of pages, 8. */
    virtual int getNumPages() const;

    /**
        The action of Next (also when it reads "Finish"). Leaving page 4 first
        searches for the device and stays there with the device-not-found box
        when there is none; leaving the last page asks the application to quit.
        Nothing happens on the update page or while a transfer runs.
    */
    virtual void goToNextPage();

    /** The action of Previous: the page before, never below page 0; nothing on the update page or during a transfer. */
    virtual void goToPreviousPage();

    /**
        Shows a page: its title and text, the buttons that belong to it, and on
        the update page the progress bar from 0 and a newly started transfer.
    */
    virtual void showPage (int page);

    /** The page index: -1 before the first page, 0 to 7 while the wizard runs, 8 after Finish. */
    int getCurrentPage() const noexcept;

    /**
        Receives a button's click message, which is the button's component name;
        it counts only if that button is shown and enabled when it is handled.
    */
    void actionListenerCallback (const juce::String& message) override;

    /** Turns the transfer thread's notices into the last page, or into the error box and the welcome page. */
    void handleCommandMessage (int commandId) override;

    /** Asks the application to quit, which it refuses while a transfer runs. */
    void closeButtonPressed() override;

    /** The font of both labels: height 18, plain; created on first use and kept. */
    static const juce::Font& getLabelFont();

private:
    void buildPageComponents (BackgroundPicture& content);
    void focusPage();
    bool mayTurnPage() const;
    static bool isPressable (const juce::Button* button);
    std::unique_ptr<WizardButton> addButton (juce::Component& content, const juce::String& name,
                                             const juce::String& tooltip, juce::Rectangle<int> bounds, bool visible);
    std::unique_ptr<juce::Label> addLabel (juce::Component& content, const juce::String& name,
                                           juce::Rectangle<int> bounds);
    WizardLookAndFeel buttonLook;
    std::unique_ptr<juce::Label> pageTextLabel;
    std::unique_ptr<juce::Label> stepLabel;
    std::unique_ptr<WizardButton> previousButton;
    std::unique_ptr<WizardButton> nextButton;
    std::unique_ptr<TransferProgressBar> progressBar;
    int currentPage = -1;
    std::unique_ptr<WizardKeyboard> keyboard;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdaterWindow)
};
