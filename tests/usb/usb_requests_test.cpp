// Every request kind as a vendor control transfer, its exact setup packet, and a stall.
#include <functional>

#include "support/emulated_board.h"
#include "usb/usb_fixture.h"

namespace velorin::testing {
namespace {

constexpr uint8_t kIn = 0xC0;   // vendor, device, device-to-host
constexpr uint8_t kOut = 0x40;  // vendor, device, host-to-device

struct RequestCase {
    const char *name;
    std::function<int()> call;
    std::vector<sim::SetupPacket> setups;
};

class UsbRequestTest : public UsbBoardTest {
  protected:
    void SetUp() override {
        UsbBoardTest::SetUp();
        if (HasFatalFailure()) return;
        board_ = &AddBoard(2, 1);
        int result = 1;
        Open(result);
        ASSERT_EQ(result, 0);
        // Device address 0xA0 from the open; option 3 as the library starts.
        ASSERT_EQ(Velorin_SetI2CDeviceAddress(0xA0, 3), 0);
        board_->ClearLog();
    }

    std::vector<sim::SetupPacket> Setups() const {
        std::vector<sim::SetupPacket> setups;
        for (const auto &entry : board_->Log()) setups.push_back(entry.setup);
        return setups;
    }

    sim::UsbBoard *board_ = nullptr;
};

TEST_F(UsbRequestTest, EachOperationSendsItsSetupPackets) {
    uint8_t byte = 0;
    uint8_t bytes[2] = {};
    uint16_t word = 0;
    const uint8_t data[2] = {0x5A, 0x5B};
    const uint16_t words[1] = {0x1234};
    const std::vector<RequestCase> cases = {
        {"SetI2CHWAddress", [] { return Velorin_SetI2CHWAddress(); }, {{kIn, 0x95, 0xA0, 0, 1}}},
        {"WritePort", [] { return Velorin_WritePort(1, 0x5A); }, {{kIn, 0x97, 0x5A, 1, 1}}},
        {"ReadPort", [&] { return Velorin_ReadPort(0, &byte); }, {{kIn, 0x96, 0, 0, 1}}},
        {"GetEvmId", [&] { return Velorin_GetEvmId(&byte); }, {{kIn, 0xBF, 0, 0, 1}}},
        {"WriteOneWire", [] { return Velorin_WriteOneWire(5, 0x81); }, {{kIn, 0xA0, 0x81, 5, 1}}},
        {"WriteToRam", [] { return Velorin_WriteToRam(2); }, {{kIn, 0xC2, 0, 0, 1}}},
        {"WriteOneWord",
         [] { return Velorin_WriteOneWord(1, 263, 170); },
         {{kIn, 0xB3, 0xAA, 0x0107, 1}}},
        {"ReadBack", [] { return Velorin_ReadBack(1); }, {{kIn, 0xA1, 0, 1, 1}}},
        {"ReadDataBack",
         [&] { return Velorin_ReadDataBack(0, 2, bytes); },
         {{kIn, 0xA7, 0, 0, 1}, {kIn, 0xA7, 0, 1, 1}}},
        {"WriteSdataBits",
         [] { return Velorin_WriteSdataBits(0x0F0F); },
         {{kIn, 0xB0, 0x0F0F, 0, 1}}},
        {"WriteScanout", [] { return Velorin_WriteScanout(0x00F0); }, {{kIn, 0xB1, 0x00F0, 0, 1}}},
        {"UnlockEeprom", [] { return Velorin_UnlockEeprom(3); }, {{kIn, 0xB5, 0, 3, 1}}},
        {"WriteI2C",
         [&] { return Velorin_WriteI2C(0xFFFF, 2, data); },
         {{kIn, 0x93, 0xA05A, 0xFFFF, 1}, {kIn, 0x93, 0xA05B, 0x0000, 1}}},
        {"ReadI2C",
         [&] { return Velorin_ReadI2C(0x0010, 1, &byte); },
         {{kIn, 0x92, 0xA003, 0x0010, 1}}},
        {"WriteI2CWord",
         [&] { return Velorin_WriteI2CWord(0x20, 1, words); },
         {{kOut, 0x9A, 0xA003, 0, 0}, {kOut, 0x99, 0x1234, 0x20, 0}}},
        {"ReadI2CWord",
         [&] { return Velorin_ReadI2CWord(0x20, 1, &word); },
         {{kIn, 0x9A, 0xA003, 0, 1}, {kIn, 0x98, 0xA003, 0x20, 2}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        board_->ClearLog();
        EXPECT_EQ(c.call(), 0);
        EXPECT_EQ(Setups(), c.setups);
    }
}

// The same operations give the same results over USB as over the socket emulator.
TEST_F(UsbRequestTest, AnswersMatchTheEndpointEmulator) {
    auto run = [] {
        std::vector<int> seen;
        uint8_t byte = 0;
        uint16_t word = 0;
        uint8_t stream[32] = {};
        const uint8_t data[3] = {0x11, 0x22, 0x33};
        const uint16_t words[2] = {0xBEEF, 0x0102};
        seen.push_back(Velorin_GetEvmId(&byte));
        seen.push_back(byte);
        seen.push_back(Velorin_WritePort(0, 0x00));
        seen.push_back(Velorin_ReadPort(3, &byte));
        seen.push_back(byte);
        seen.push_back(Velorin_WritePort(3, 0x00));  // the status port is read-only
        Velorin_SetI2CDeviceAddress(0xA0, 0x83);
        seen.push_back(Velorin_WriteI2C(0xB000, 3, data));
        seen.push_back(Velorin_ReadI2C(0xB001, 1, &byte));
        seen.push_back(byte);
        seen.push_back(Velorin_WriteI2CWord(0x100, 2, words));
        seen.push_back(Velorin_ReadI2CWord(0x101, 1, &word));
        seen.push_back(word);
        seen.push_back(Velorin_ReadBack(0));
        seen.push_back(Velorin_ReadDataBack(0, 32, stream));
        seen.insert(seen.end(), stream, stream + 32);
        return seen;
    };
    const std::vector<int> overUsb = run();
    Velorin_CloseUsbDevice();

    EmulatedBoard endpoint;
    int result = 1;
    Open(result);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(run(), overUsb);
}

TEST_F(UsbRequestTest, AStallFailsThatRequestOnly) {
    board_->StallTransfer(1);
    uint8_t port = 0x77;
    EXPECT_EQ(Velorin_ReadPort(0, &port), 1);
    EXPECT_EQ(port, 0x77);
    EXPECT_EQ(Velorin_ReadPort(0, &port), 0);
    EXPECT_EQ(port, 0x02);
    ASSERT_EQ(board_->Log().size(), 2u);
    EXPECT_TRUE(board_->Log()[0].stalled);
    EXPECT_FALSE(board_->Log()[1].stalled);
}

}  // namespace
}  // namespace velorin::testing
