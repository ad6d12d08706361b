#include "ui/AboutBox.h"

#include "app/ImageRegistry.h"
#include "app/ProductFacts.h"
#include "ui/PictureComponent.h"
#include "ui/PictureWindowStyle.h"

namespace
{

/*
    Holds the about font from its first use until JUCE shuts down, which in the
    program is when the process ends. Being released with JUCE's other shared
    objects, rather than by a plain static after them, lets the typeface that
    the font has cached go while the font engine is still there.
*/
class AboutFontHolder : private juce::DeletedAtShutdown
{
public:
    ~AboutFontHolder() override
    {
        clearSingletonInstance();
    }

    const juce::Font font { 18.0f, juce::Font::plain };

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (AboutFontHolder)
};

JUCE_IMPLEMENT_SINGLETON (AboutFontHolder)

} // namespace

AboutBox::AboutBox()
    : ModalDialog (juce::String ("About ") + ProductFacts::productName + "...", juce::Colour (0xff808080), true)
{
}

AboutBox::~AboutBox() = default;

juce::Label* AboutBox::getApplicationVersionLabel() const noexcept
{
    return applicationVersionLabel;
}

juce::Label* AboutBox::getFirmwareVersionLabel() const noexcept
{
    return firmwareVersionLabel;
}

const juce::Font& AboutBox::getAboutFont()
{
    JUCE_ASSERT_MESSAGE_THREAD
    return AboutFontHolder::getInstance()->font;
}

bool AboutBox::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress (juce::KeyPress::returnKey) || key == juce::KeyPress (juce::KeyPress::spaceKey))
    {
        closeButtonPressed();
        return true;
    }

    return ModalDialog::keyPressed (key);
}

void AboutBox::setUpContent()
{
    ModalDialog::setUpContent();
    setResizable (false, false);

    auto picture = getImage (aboutPictureId);

    if (picture.isValid())
    {
        PictureWindowStyle::sizeToPicture (*this, picture);
        setContentOwned (new PictureComponent (std::move (picture), getDoubleSizeImage (aboutPictureId)), false);
    }

    buildLabels();
    centreWithSize (getWidth(), getHeight());
    setVisible (true);
}

void AboutBox::buildLabels()
{
    // Running the box again replaces the labels along with the content.
    labels.clear();
    applicationVersionLabel = nullptr;
    firmwareVersionLabel = nullptr;

    if (getContentComponent() == nullptr)
        return;

    addLabel ({}, ProductFacts::productName, { 120, 45, 250, 20 });
    applicationVersionLabel =
        addLabel ("Application Version:", juce::String ("Application Version : ") + ProductFacts::applicationVersion,
                  { 120, 70, 250, 20 });
    firmwareVersionLabel = addLabel (
        "Firmware Version:", juce::String ("Firmware Version: ") + ProductFacts::firmwareVersion, { 120, 95, 300, 20 });
    addLabel ({}, juce::String ("(c) ") + ProductFacts::copyrightYear + " " + ProductFacts::company,
              { 120, 120, 400, 20 });
}

juce::Label* AboutBox::addLabel (const juce::String& name, const juce::String& text, juce::Rectangle<int> bounds)
{
    auto label = std::make_unique<juce::Label> (name, juce::String());
    label->setBounds (bounds);
    PictureWindowStyle::setOverlayColours (*label);
    label->setText (text, juce::dontSendNotification);
    label->setFont (getAboutFont());
    getContentComponent()->addAndMakeVisible (*label);

    labels.push_back (std::move (label));
    return labels.back().get();
}
