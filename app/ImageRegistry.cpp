#include "app/ImageRegistry.h"

#include "resources/EmbeddedResources.h"

#include <map>

namespace
{
using ImageRecords = std::map<int, ImageRecord>;

ImageRecords& getRecords()
{
    static ImageRecords records;
    return records;
}

ImageRecords& getDoubleSizeRecords()
{
    static ImageRecords records;
    return records;
}

void addRecord (ImageRecords& records, int id, const juce::String& name, int size, const void* data)
{
    JUCE_ASSERT_MESSAGE_THREAD

    records.emplace (id, ImageRecord { name, size, data });
}

juce::Image decodeRecord (const ImageRecords& records, int id)
{
    JUCE_ASSERT_MESSAGE_THREAD

    const auto found = records.find (id);

    if (found == records.end())
        return {};

    const auto& record = found->second;

    if (record.size > 0 && record.data != nullptr)
    {
        auto picture = juce::ImageFileFormat::loadFrom (record.data, (size_t) record.size);

        if (picture.isValid())
            return picture;
    }

    return loadImageFromResourcesFolder (record);
}

juce::String findResourcesFolder()
{
    const auto workingDirectory = juce::File::getCurrentWorkingDirectory();
    const auto separator = juce::File::getSeparatorString();
    const auto path = workingDirectory.getFullPathName();
    const auto lastSeparator = path.lastIndexOf (separator);

    // The root has no containing folder, and an unknown working directory has
    // no path: either way there is no resources folder to look in.
    if (workingDirectory.isRoot() || lastSeparator < 0)
        return {};

    return path.substring (0, lastSeparator) + separator + "Resources" + separator;
}
} // namespace

void registerBuiltInImages()
{
    registerImage (0, "VT5150.png", EmbeddedResources::devicePictureSize, EmbeddedResources::devicePicture);
    registerImage (2, "About.png", EmbeddedResources::aboutPictureSize, EmbeddedResources::aboutPicture);

    registerDoubleSizeImage (0, "VT5150@2x.png", EmbeddedResources::devicePictureDoubleSizeSize,
                             EmbeddedResources::devicePictureDoubleSize);
    registerDoubleSizeImage (2, "About@2x.png", EmbeddedResources::aboutPictureDoubleSizeSize,
                             EmbeddedResources::aboutPictureDoubleSize);
}

void registerImage (int id, const juce::String& name, int size, const void* data)
{
    addRecord (getRecords(), id, name, size, data);
}

void registerDoubleSizeImage (int id, const juce::String& name, int size, const void* data)
{
    addRecord (getDoubleSizeRecords(), id, name, size, data);
}

juce::Image getImage (int id)
{
    return decodeRecord (getRecords(), id);
}

juce::Image getDoubleSizeImage (int id)
{
    return decodeRecord (getDoubleSizeRecords(), id);
}

juce::Image loadImageFromResourcesFolder (const ImageRecord& record)
{
    const auto folder = getResourcesFolder();

    if (folder.isEmpty())
        return {};

    return juce::ImageCache::getFromFile (juce::File (folder + record.name));
}

juce::String getResourcesFolder()
{
    static const juce::String folder = findResourcesFolder();
    return folder;
}

void clearImageRegistry()
{
    JUCE_ASSERT_MESSAGE_THREAD

    getRecords().clear();
    getDoubleSizeRecords().clear();
}
