#include "device/DeviceLink.h"
#include "sim/SimulatedDevice.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<juce::uint8>;
using Frames = std::vector<Bytes>;

/** A thread object that is never started: it only carries the exit request the transfer looks at. */
struct ExitFlag : juce::Thread
{
    ExitFlag()
        : juce::Thread ("exit flag")
    {
    }
    void run() override {}
};

Bytes makePayload (size_t size)
{
    Bytes payload (size);

    for (size_t i = 0; i < size; ++i)
        payload[i] = (juce::uint8) (i * 37 + 11);

    return payload;
}

/** A device link that has found a simulated device, and everything that device received after detection. */
class Transfer : public testing::Test
{
protected:
    void connect()
    {
        device = std::make_unique<SimulatedDevice> (ports, SimulatedDevice::Settings {});
        link.setPortSystem (&ports);
        ASSERT_TRUE (link.detect());
        commandsBeforeTransfer = device->getNumReceivedCommands();
    }

    void TearDown() override
    {
        link.close();
    }

    Frames transferCommands() const
    {
        auto all = device->getReceivedCommands();
        return Frames (all.begin() + commandsBeforeTransfer, all.end());
    }

    VirtualMidiPorts ports { 1, 1 };
    std::unique_ptr<SimulatedDevice> device;
    DeviceLink link;
    ExitFlag thread;
    int commandsBeforeTransfer = 0;
};
} // namespace

TEST_F (Transfer, BuiltInImageArrivesByteForByteInTheDocumentedOrder)
{
    connect();
    const auto& image = FirmwareImage::getBuiltIn();
    ASSERT_EQ (image.getLength(), 24832);

    ASSERT_TRUE (link.transferFirmware (&thread));
    EXPECT_TRUE (device->memoryMatches (image.getPayloadCopy()));
    EXPECT_TRUE (device->getViolations().isEmpty()) << device->getViolations().joinIntoString ("\n");
    EXPECT_DOUBLE_EQ (transferProgress.load(), 24831.0 / 24832.0);

    const auto frames = transferCommands();
    ASSERT_EQ (frames.size(), 25222u);
    EXPECT_EQ (frames[0], (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x65, 0xf7 }));
    EXPECT_EQ (frames[1], (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x41, 0x00, 0x00, 0x00, 0xf7 }));

    // Decode the payload back from the data commands, checking each block's
    // letters run c, C, c, C... and that its address and commit close it.
    const auto* payload = image.getPayload();

    for (int block = 0; block < 194; ++block)
    {
        const auto first = 2 + (size_t) block * 130;

        for (int i = 0; i < 128; ++i)
        {
            const auto& frame = frames[first + (size_t) i];
            ASSERT_EQ (frame.size(), 8u);
            ASSERT_EQ ((char) frame[4], i % 2 == 0 ? 'c' : 'C') << "block " << block << " byte " << i;
            ASSERT_EQ ((juce::uint8) (frame[5] | (frame[6] << 7)), payload[block * 128 + i]);
        }

        EXPECT_EQ ((char) frames[first + 128][4], 'A');
        EXPECT_EQ (frames[first + 129], (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x6d, 0xf7 }));
    }

    const auto addressOf = [&frames] (int block) { return frames[2 + (size_t) block * 130 + 128]; };
    EXPECT_EQ (addressOf (3), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x41, 0x00, 0x40, 0x02, 0xf7 }));
    EXPECT_EQ (addressOf (5), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x41, 0x01, 0x40, 0x00, 0xf7 }));
    EXPECT_EQ (addressOf (193), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x41, 0x30, 0x40, 0x00, 0xf7 }));
}

// That a refused start sends nothing more, the flash tool's test checks by
// the commands that the device received.

TEST_F (Transfer, ExitRequestDuringAnExchangeEndsTheTransferBeforeTheNext)
{
    // Each row: the command during whose exchange the exit is requested, how
    // many commands the transfer has sent when it ends, and the progress then,
    // in bytes: the start alone; the start and address 0; block 0 whole, with
    // its address and commit; data byte 500 (after blocks 0 to 2's closing pairs).
    struct Row
    {
        int during;
        size_t sentInAll;
        int progress;
    };

    for (const auto& row : { Row { 1, 1, 0 }, Row { 2, 2, 0 }, Row { 2 + 129, 2 + 130, 127 },
                             Row { 2 + 500 + 2 * 3 + 1, 2 + 500 + 2 * 3 + 1, 500 } })
    {
        SCOPED_TRACE ("exit requested during command " + std::to_string (row.during));
        device.reset();
        connect();
        transferProgress = 0.0;
        ExitFlag exitFlag;
        device->setCommandObserver (
            [this, &exitFlag, during = row.during] (const juce::MidiMessage&)
            {
                if (device->getNumReceivedCommands() - commandsBeforeTransfer == during)
                    exitFlag.signalThreadShouldExit();
            });

        EXPECT_FALSE (link.transferFirmware (&exitFlag));
        EXPECT_EQ (transferCommands().size(), row.sentInAll);
        EXPECT_DOUBLE_EQ (transferProgress.load(), row.progress / 24832.0);
        link.close();
    }
}

TEST (FirmwareImage, ALayoutWhoseLengthWordClaimsMoreThanItHoldsIsEmpty)
{
    std::vector<juce::uint8> layout (8 + 256, 0x5a);
    const auto lengthWith = [&layout] (juce::uint32 word)
    {
        for (size_t i = 0; i < 4; ++i)
            layout[i] = (juce::uint8) (word >> (8 * i));

        return FirmwareImage (layout.data(), layout.size()).getLength();
    };

    EXPECT_EQ (lengthWith (256), 256);
    EXPECT_EQ (lengthWith (128), 128);
    EXPECT_EQ (lengthWith (257), 0);
    EXPECT_EQ (lengthWith (0x7fffffff), 0);
    EXPECT_EQ (lengthWith (0xffffff80), 0) << "a negative length";
    EXPECT_EQ (FirmwareImage (layout.data(), 7).getLength(), 0) << "shorter than its header";
}

TEST_F (Transfer, ImageLengthsAndRequestsThatSendNothing)
{
    connect();
    EXPECT_FALSE (link.transferFirmware (nullptr));
    EXPECT_TRUE (transferCommands().empty());

    // Each row: the payload's size; whether the transfer succeeds; how many
    // commands it sends. An empty image or more blocks than the address
    // reaches: nothing. Under one block: start and address only. 200 bytes:
    // one block, the rest never sent.
    for (const auto& [size, succeeds, sent] : { std::tuple { 0, false, 0u },
                                                { 100, true, 2u },
                                                { 200, true, 2u + 130 },
                                                { (FirmwareImage::maxBlocks + 1) * 128, false, 0u } })
    {
        commandsBeforeTransfer = device->getNumReceivedCommands();
        const FirmwareImage image (makePayload ((size_t) size));
        link.setFirmwareImage (&image);
        EXPECT_EQ (link.transferFirmware (&thread), succeeds) << size << " bytes";
        EXPECT_EQ (transferCommands().size(), sent) << size << " bytes";
        link.setFirmwareImage (nullptr);
    }

    auto firstBlock = makePayload (200);
    firstBlock.resize (128);
    EXPECT_TRUE (device->memoryMatches (firstBlock));

    // An exit requested before the start sends nothing either.
    commandsBeforeTransfer = device->getNumReceivedCommands();
    thread.signalThreadShouldExit();
    EXPECT_FALSE (link.transferFirmware (&thread));
    EXPECT_TRUE (transferCommands().empty());
}
