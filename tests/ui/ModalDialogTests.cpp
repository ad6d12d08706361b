#include "ModalRun.h"

#include <gtest/gtest.h>

namespace
{
// Records how the dialog was closed and what it looked like while open.
class ObservedDialog : public ModalDialog
{
public:
    explicit ObservedDialog (bool closesOnEscape)
        : ModalDialog ("Observed", juce::Colour (0xff808080), closesOnEscape)
    {
    }

    void closeButtonPressed() override
    {
        ++closeCalls;
        ModalDialog::closeButtonPressed();
    }

    int closeCalls = 0;
};
} // namespace

TEST (ModalDialog, RunsCentredAt300By200OverAnEmptyContentUntilTheCloseButton)
{
    ObservedDialog dialog (true);
    juce::Rectangle<int> bounds;
    juce::Component* content = nullptr;
    bool wasModal = false;

    const auto result = ModalRun::runModalWith (dialog,
                                                [&]
                                                {
                                                    bounds = dialog.getBounds();
                                                    content = dialog.getContentComponent();
                                                    wasModal = dialog.isCurrentlyModal() && dialog.isVisible();
                                                    dialog.getCloseButton()->triggerClick();
                                                });

    EXPECT_EQ (result, 0);
    EXPECT_EQ (dialog.closeCalls, 1);
    EXPECT_TRUE (wasModal);
    EXPECT_FALSE (dialog.isVisible());

    EXPECT_EQ (bounds.getWidth(), 300);
    EXPECT_EQ (bounds.getHeight(), 200);
    EXPECT_LE (bounds.getCentre().getDistanceFrom (ModalRun::screenCentre()), 1);

    ASSERT_NE (content, nullptr);
    EXPECT_EQ (content->getName(), juce::String());
    EXPECT_EQ (content->getNumChildComponents(), 0);
    EXPECT_EQ (content->getBounds(), dialog.getContentComponentBorder().subtractedFrom (dialog.getLocalBounds()));
}

TEST (ModalDialog, EscapeActsAsTheCloseButtonOnlyWhenAskedTo)
{
    ObservedDialog closing (true);
    const auto result = ModalRun::runModalWith (closing, [&] { ModalRun::pressEscape (closing); });

    EXPECT_EQ (result, 0);
    EXPECT_EQ (closing.closeCalls, 1);
    EXPECT_FALSE (closing.isVisible());

    ObservedDialog staying (false);
    bool stillOpenAfterEscape = false;

    const auto laterResult = ModalRun::runModalWith (staying,
                                                     [&]
                                                     {
                                                         ModalRun::pressEscape (staying);
                                                         stillOpenAfterEscape = staying.isCurrentlyModal() &&
                                                                                staying.isVisible() &&
                                                                                staying.closeCalls == 0;
                                                         staying.getCloseButton()->triggerClick();
                                                     });

    EXPECT_TRUE (stillOpenAfterEscape);
    EXPECT_EQ (laterResult, 0);
    EXPECT_EQ (staying.closeCalls, 1);
}
