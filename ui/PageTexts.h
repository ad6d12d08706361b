#pragma once

/**
    The wizard's step titles and instruction texts, indexed by page 0 to 7.

    Page 0 is the welcome page and has the empty text as its title; pages 1 to 7
    are "Step 1." to "Step 7.". A line break inside a text is one line feed.
    No entry is null.
*/

/** The step title of each page. */
extern const char* const pageTitles[8];

/** The instruction text of each page. */
extern const char* const pageTexts[8];
