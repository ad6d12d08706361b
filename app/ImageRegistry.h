#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    The process-wide picture registry: maps a small id to a record naming a
    picture and pointing at its built-in PNG bytes, and decodes pictures on
    request. A picture without usable built-in bytes is loaded instead from a
    file of its name in the resources folder: the folder named Resources beside
    the working directory.

    The built-in pictures are id 0, the device picture ("VT5150.png"), and id 2,
    the about picture ("About.png"). Each also comes at twice its size, kept
    apart under the same id ("VT5150@2x.png", "About@2x.png"), for displays
    scaled above 100 %: getImage() never gives those, getDoubleSizeImage() does.
    Only the message thread may use the registry.
*/

/** One registered picture. The record does not own the bytes; they live as long as the process. */
struct ImageRecord
{
    /** The picture's file name, used only to find it in the resources folder. */
    juce::String name;

    /** The number of built-in bytes at data; 0 or less means the picture has none. */
    int size;

    /** The first built-in byte, or nullptr. */
    const void* data;
};

/**
    Registers the built-in pictures: id 0, the device picture, then id 2, the
    about picture; then the double-size picture of each under the same id.
*/
void registerBuiltInImages();

/** Stores a record under the id, unless the id already has one: the first registration of an id stays. */
void registerImage (int id, const juce::String& name, int size, const void* data);

/** Stores the record of the id's double-size picture, unless the id already has one, as registerImage() does. */
void registerDoubleSizeImage (int id, const juce::String& name, int size, const void* data);

/**
    Returns a newly decoded picture for the id, or a null image when there is
    none. Built-in bytes are decoded on every call and nothing is cached, so
    two calls give two independent pictures. A record whose bytes are missing
    or do not decode is served by loadImageFromResourcesFolder().
*/
juce::Image getImage (int id);

/**
    Returns a newly decoded picture of the id at twice the size of getImage()'s,
    for displays scaled above 100 %, or a null image when there is none. It is
    decoded and falls back on the resources folder just as getImage() does.
*/
juce::Image getDoubleSizeImage (int id);

/**
    Loads the file named by the record from the resources folder through
    juce::ImageCache, so a file loaded before comes from the cache. Returns a
    null image when there is no resources folder or the file is missing or
    does not decode.
*/
juce::Image loadImageFromResourcesFolder (const ImageRecord& record);

/**
    The resources folder, ending in a separator: the folder containing the
    working directory, then "Resources". Computed on the first call and kept,
    even if the working directory changes later. When the working directory
    is the root of a file system, which has no containing folder, this is the
    empty text and there is no resources folder.
*/
juce::String getResourcesFolder();

/** Removes every record, double-size ones too; until pictures are registered again, getImage() finds none. */
void clearImageRegistry();
