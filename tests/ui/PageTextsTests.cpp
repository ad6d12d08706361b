#include "ui/PageTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST (PageTexts, EveryTextHasItsFullLengthAndLineFeedsOnly)
{
    const size_t lengths[8] = { 152, 89, 56, 174, 261, 105, 42, 195 };
    const long lineFeeds[8] = { 3, 0, 0, 1, 1, 0, 0, 0 };

    for (int page = 0; page < 8; ++page)
    {
        ASSERT_NE (pageTexts[page], nullptr) << "page " << page;
        const std::string text = pageTexts[page];
        EXPECT_EQ (text.size(), lengths[page]) << "page " << page;
        EXPECT_EQ (std::count (text.begin(), text.end(), '\n'), lineFeeds[page]) << "page " << page;
        EXPECT_EQ (text.find ('\r'), std::string::npos) << "page " << page;
    }
}

TEST (PageTexts, TrailingBlankDoubleBlanksAndQuotesAreKept)
{
    EXPECT_NE (std::string (pageTexts[0]).find ("firmware. \n\nPress"), std::string::npos);
    EXPECT_NE (std::string (pageTexts[3]).find ("rapidly.  If"), std::string::npos);
    EXPECT_NE (std::string (pageTexts[4]).find ("when \"Next\" is pressed."), std::string::npos);
    EXPECT_NE (std::string (pageTexts[5]).find ("VT5150,  press Next."), std::string::npos);
}
