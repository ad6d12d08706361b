#pragma once

/**
    Files that the build turns into constant data inside the program (see
    vt5150_embed_file in cmake/EmbedResources.cmake). Each file gives a byte
    array and its length in bytes; both live as long as the process.
*/
namespace EmbeddedResources
{
/** resources/VT5150.png, the device picture: the wizard window's backdrop. */
extern const unsigned char devicePicture[];
extern const int devicePictureSize;

/** resources/VT5150@2x.png, the device picture at twice its size, for displays scaled above 100 %. */
extern const unsigned char devicePictureDoubleSize[];
extern const int devicePictureDoubleSizeSize;

/** resources/About.png, the about picture: the about box's panel. */
extern const unsigned char aboutPicture[];
extern const int aboutPictureSize;

/** resources/About@2x.png, the about picture at twice its size, for displays scaled above 100 %. */
extern const unsigned char aboutPictureDoubleSize[];
extern const int aboutPictureDoubleSizeSize;
} // namespace EmbeddedResources
