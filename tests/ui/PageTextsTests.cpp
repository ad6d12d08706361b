#include "ui/PageTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
std::string text (int page)
{
    return pageTexts[page];
}

long countLineFeeds (const std::string& s)
{
    return std::count (s.begin(), s.end(), '\n');
}
} // namespace

TEST (PageTexts, TitlesAreEmptyOnTheWelcomePageThenNumberTheSteps)
{
    ASSERT_NE (pageTitles[0], nullptr);
    EXPECT_STREQ (pageTitles[0], "");

    for (int page = 1; page < 8; ++page)
        EXPECT_EQ (std::string (pageTitles[page]), "Step " + std::to_string (page) + ".");
}

TEST (PageTexts, EveryTextHasItsFullLength)
{
    const size_t lengths[8] = { 152, 89, 56, 174, 261, 105, 42, 195 };
    const long lineFeeds[8] = { 3, 0, 0, 1, 1, 0, 0, 0 };

    for (int page = 0; page < 8; ++page)
    {
        ASSERT_NE (pageTexts[page], nullptr) << "page " << page;
        EXPECT_EQ (std::strlen (pageTexts[page]), lengths[page]) << "page " << page;
        EXPECT_EQ (countLineFeeds (text (page)), lineFeeds[page]) << "page " << page;
        EXPECT_EQ (text (page).find ('\r'), std::string::npos) << "page " << page;
    }
}

TEST (PageTexts, WelcomeTextKeepsTheBlankBeforeItsEmptyLine)
{
    EXPECT_EQ (text (0), "Welcome to the VT-5150 firmware updater application.\n"
                         "This software will update your control surface firmware. \n"
                         "\n"
                         "Press Next to begin the upgrade process.");
}

TEST (PageTexts, DoubleBlanksAndQuotesAreKept)
{
    EXPECT_NE (text (3).find ("flashing rapidly.  If it is not, please repeat steps 2 and 3."), std::string::npos);
    EXPECT_NE (text (4).find ("recognize the VT-5150.\nNormally, Windows"), std::string::npos);
    EXPECT_NE (text (4).find ("There may be a short delay when \"Next\" is pressed."), std::string::npos);
    EXPECT_EQ (text (5), "The VT5150 was found and is ready to be updated.  "
                         "To download new firmware into your VT5150,  press Next.");
    EXPECT_EQ (text (6), "Updating VT-5150 Firmware.  Please wait...");
    EXPECT_NE (text (7).find ("Update Complete.  Please press finish,"), std::string::npos);
    EXPECT_NE (text (7).find ("plug it back in.  Reboot your computer"), std::string::npos);
}
