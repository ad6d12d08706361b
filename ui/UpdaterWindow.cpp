#include "ui/UpdaterWindow.h"

#include "app/ImageRegistry.h"
#include "app/UpdaterApplication.h"
#include "device/DeviceLink.h"
#include "device/TransferThread.h"
#include "ui/BackgroundPicture.h"
#include "ui/ErrorBox.h"
#include "ui/PageTexts.h"
#include "ui/PictureWindowStyle.h"

namespace
{
const juce::String nextName ("Next");
const juce::String previousName ("Previous");

const juce::Colour windowBackground (0xff808080);
const juce::Colour buttonText (0xff000000);
const juce::Colour buttonBackground (0xffd3d3d3);
const juce::Colour buttonOutline (0xff555555);
} // namespace

const char* const UpdaterWindow::deviceNotFoundMessage = "Could not find VT5150 control surface. Check the cables to "
                                                         "ensure it is properly connected and press Next to try again.";

const char* const UpdaterWindow::transferErrorMessage =
    "An error occured during the file transfer. Please try again or contact Kelmora technical support.";

UpdaterWindow::UpdaterWindow()
    : juce::DialogWindow ("Main Window", windowBackground, false)
{
    JUCE_ASSERT_MESSAGE_THREAD

    transferProgress = 0.0;

    if (auto* app = juce::JUCEApplication::getInstance())
    {
        // The window's title, for the eye in the title bar and for a screen reader.
        setName (app->getApplicationName());
        setTitle (getName());
    }

    setResizable (false, false);

    // The keyboard goes to the page: asked for, the window passes it on to the
    // page's first text (see focusPage).
    setWantsKeyboardFocus (false);

    if (auto picture = getImage (devicePictureId); picture.isValid())
    {
        PictureWindowStyle::sizeToPicture (*this, picture);
        setContentOwned (new BackgroundPicture (std::move (picture), getDoubleSizeImage (devicePictureId)), false);
    }

    if (auto* content = dynamic_cast<BackgroundPicture*> (getContentComponent()))
        buildPageComponents (*content);

    goToNextPage();
    centreWithSize (getWidth(), getHeight());
    setVisible (true);
    toFront (true);
}

UpdaterWindow::~UpdaterWindow()
{
    if (keyboard != nullptr)
        removeKeyListener (keyboard.get());

    if (currentApplication != nullptr)
        currentApplication->quitMessageLoop();
}

int UpdaterWindow::getNumPages() const
{
    return 8;
}

void UpdaterWindow::goToNextPage()
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (! mayTurnPage())
        return;

    if (currentPage == 4)
    {
        deviceLink().detect();

        if (! deviceLink().isOpen())
        {
            ErrorBox::show (deviceNotFoundMessage, *this);
            return;
        }
    }

    ++currentPage;

    if (currentPage < getNumPages())
        showPage (currentPage);
    else if (currentApplication != nullptr)
        currentApplication->requestQuit();
}

void UpdaterWindow::goToPreviousPage()
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (! mayTurnPage())
        return;

    currentPage = juce::jmax (0, currentPage - 1);
    showPage (currentPage);
}

void UpdaterWindow::showPage (int page)
{
    JUCE_ASSERT_MESSAGE_THREAD

    currentPage = page;

    if (nextButton == nullptr || previousButton == nullptr || pageTextLabel == nullptr || stepLabel == nullptr)
        return;

    pageTextLabel->setText (pageTexts[page], juce::dontSendNotification);
    stepLabel->setText (pageTitles[page], juce::dontSendNotification);
    focusPage();

    nextButton->setButtonText (page == lastPage ? "Finish" : "Next");
    nextButton->setVisible (page != updatePage);

    // The welcome page leaves Previous's text as it is and only hides it.
    if (page != 0)
        previousButton->setButtonText ("Previous");

    previousButton->setVisible (page >= 1 && page <= 5);

    if (page == updatePage)
    {
        transferProgress = 0.0;
        progressBar->setVisible (true);
        startTransferThread (*this);
    }
    else
    {
        progressBar->setVisible (false);
    }
}

void UpdaterWindow::focusPage()
{
    // An empty title (the welcome page's) is nothing to read: the page then
    // starts at its text. The page's first text takes the keyboard, and with
    // it a screen reader's focus, which reads it out, and the page's text as
    // the title's description; no control of the page changes for the eye.
    const auto titled = stepLabel->getText().isNotEmpty();
    stepLabel->setAccessible (titled);
    stepLabel->setWantsKeyboardFocus (titled);
    stepLabel->setDescription (titled ? pageTextLabel->getText() : juce::String());
    pageTextLabel->setWantsKeyboardFocus (! titled);

    // Before the window shows, there is nobody to tell; a box open over the
    // window gives the keyboard back to the page when it closes.
    if (isShowing() && ! isCurrentlyBlockedByAnotherModalComponent())
        (titled ? stepLabel : pageTextLabel)->grabKeyboardFocus();
}

bool UpdaterWindow::mayTurnPage() const
{
    return currentPage != updatePage && ! transferRunning;
}

int UpdaterWindow::getCurrentPage() const noexcept
{
    return currentPage;
}

void UpdaterWindow::actionListenerCallback (const juce::String& message)
{
    JUCE_ASSERT_MESSAGE_THREAD

    // A press may be handled long after it was made (a click or key queued
    // behind the search, a screen reader's press): it counts only if its
    // button is still there to be pressed.
    if (message == nextName && isPressable (nextButton.get()))
        goToNextPage();
    else if (message == previousName && isPressable (previousButton.get()))
        goToPreviousPage();
}

bool UpdaterWindow::isPressable (const juce::Button* button)
{
    return button != nullptr && button->isShowing() && button->isEnabled();
}

void UpdaterWindow::handleCommandMessage (int commandId)
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (commandId != TransferSucceeded && commandId != TransferFailed)
    {
        juce::DialogWindow::handleCommandMessage (commandId);
        return;
    }

    destroyTransferThread();

    if (commandId == TransferSucceeded)
    {
        showPage (lastPage);
    }
    else
    {
        ErrorBox::show (transferErrorMessage, *this);
        showPage (0);
    }

    if (currentApplication != nullptr)
        currentApplication->transferNoticeHandled();
}

void UpdaterWindow::closeButtonPressed()
{
    if (currentApplication != nullptr)
        currentApplication->requestQuit();
}

const juce::Font& UpdaterWindow::getLabelFont()
{
    static const juce::Font font (18.0f, juce::Font::plain);
    return font;
}

void UpdaterWindow::buildPageComponents (BackgroundPicture& content)
{
    nextButton = addButton (content, nextName, "Continue to the next step...", { 420, 325, 100, 24 }, true);
    previousButton = addButton (content, previousName, "Go back a step...", { 320, 325, 100, 24 }, false);

    progressBar = std::make_unique<TransferProgressBar> (&transferProgress);
    progressBar->setBounds (0, 180, 549, 25);
    content.addChildComponent (*progressBar);

    pageTextLabel = addLabel (content, {}, { 100, 210, 420, 110 });
    // The text starts at the top, one pixel below the edge, and keeps three
    // pixels clear on each side; it wraps at word boundaries rather than being
    // squeezed. (JUCE centres text vertically unless told otherwise.)
    pageTextLabel->setJustificationType (juce::Justification::topLeft);
    pageTextLabel->setBorderSize ({ 1, 3, 1, 3 });
    pageTextLabel->setMinimumHorizontalScale (1.0f);

    stepLabel = addLabel (content, "lblStep", { 40, 213, 80, 16 });

    // A screen reader reads the page as it is laid out for the eye: the step
    // title, the text, the progress, then the buttons.
    int order = 0;

    for (auto* control : std::initializer_list<juce::Component*> {
             stepLabel.get(), pageTextLabel.get(), progressBar.get(), previousButton.get(), nextButton.get() })
        control->setExplicitFocusOrder (++order);

    keyboard = std::make_unique<WizardKeyboard> (*previousButton, *nextButton, content);
    addKeyListener (keyboard.get());
}

std::unique_ptr<WizardButton> UpdaterWindow::addButton (juce::Component& content, const juce::String& name,
                                                        const juce::String& tooltip, juce::Rectangle<int> bounds,
                                                        bool visible)
{
    auto button = std::make_unique<WizardButton> (name, tooltip);
    button->setButtonText (name);
    button->setColour (juce::TextButton::textColourOffId, buttonText);
    button->setColour (juce::TextButton::textColourOnId, buttonText);
    button->setColour (juce::TextButton::buttonColourId, buttonBackground);
    button->setColour (juce::ComboBox::outlineColourId, buttonOutline);
    button->setBounds (bounds);
    buttonLook.adopt (*button);
    button->onClick = [this, clicked = button.get()] { actionListenerCallback (clicked->getName()); };
    content.addChildComponent (*button);
    button->setVisible (visible);
    return button;
}

std::unique_ptr<juce::Label> UpdaterWindow::addLabel (juce::Component& content, const juce::String& name,
                                                      juce::Rectangle<int> bounds)
{
    auto label = std::make_unique<juce::Label> (name, juce::String());
    label->setBounds (bounds);
    label->setFont (getLabelFont());
    PictureWindowStyle::setOverlayColours (*label);

    label->setEditable (false, false, false);
    // Clicks pass through to the picture, so its menu opens over the texts too.
    label->setInterceptsMouseClicks (false, false);
    content.addAndMakeVisible (*label);
    return label;
}
