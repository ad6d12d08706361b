#pragma once

#include "ui/ModalDialog.h"

#include <memory>
#include <vector>

/**
    The modal about box: the built-in about picture with four lines laid over
    it, the product title, the application version, the firmware version and
    the maker's notice. Escape closes it as the close button does, and so do
    Return and Space, as they would press the OK button of a message box.

    A new box is built for each opening; only the about font, created the
    first time a box builds its labels, is shared by every box.
*/
class AboutBox : public ModalDialog
{
public:
    /** The registry id of the about picture. */
    static constexpr int aboutPictureId = 2;

    /** Creates the hidden box; its content is built when it is run. */
    AboutBox();

    /** Releases the labels; the window then releases the content and its picture. */
    ~AboutBox() override;

    /** The label showing the application version, or nullptr before the labels are built. */
    juce::Label* getApplicationVersionLabel() const noexcept;

    /** The label showing the firmware version, or nullptr before the labels are built. */
    juce::Label* getFirmwareVersionLabel() const noexcept;

    /** The one about font: height 18, plain, default typeface; created on first use, released when JUCE shuts down. */
    static const juce::Font& getAboutFont();

    /** Closes the box on Return or Space, as its close button would. */
    bool keyPressed (const juce::KeyPress& key) override;

protected:
    /**
        Centres the box on the screen, over the about picture when there is one,
        sized so that the content area is one pixel narrower and lower than the
        picture, lays the four labels over the content and shows the box.
    */
    void setUpContent() override;

private:
    void buildLabels();
    juce::Label* addLabel (const juce::String& name, const juce::String& text, juce::Rectangle<int> bounds);

    std::vector<std::unique_ptr<juce::Label>> labels;
    juce::Label* applicationVersionLabel = nullptr;
    juce::Label* firmwareVersionLabel = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutBox)
};
