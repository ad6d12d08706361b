#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    The updater's dialog base: a dialog window with a title bar and a close
    button that builds its content when it is run and then runs modally until
    it is closed.

    Closing it, by the close button or (when asked for) the Escape key, ends
    the modal loop with 0 and hides it. Subclasses build their own content by
    overriding setUpContent().
*/
class ModalDialog : public juce::DialogWindow
{
public:
    /**
        Creates a hidden dialog without content, titled `title`, filled with
        `background`; with `escapeClosesDialog`, Escape acts as the close button.
        A screen reader calls the dialog by its title too.
    */
    ModalDialog (const juce::String& title, juce::Colour background, bool escapeClosesDialog);

    /**
        Builds the content with setUpContent(), then runs the modal loop, which
        gives the dialog the keyboard, and returns its result; the keyboard then
        goes back to the component that had it before. A key held as it opens
        presses nothing in it until released (HeldKeyFilter).
    */
    int runModal();

    /** Ends the modal loop with 0, then hides the dialog. */
    void closeButtonPressed() override;

    /** Closes the dialog as its close button would, when Escape was asked to do so. */
    bool escapeKeyPressed() override;

protected:
    /**
        Builds the dialog's content. This one centres the dialog on the screen
        at 300 x 200 and gives it an empty, unnamed content component, replacing
        any content it had.
    */
    virtual void setUpContent();

private:
    const bool escapeCloses;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalDialog)
};
