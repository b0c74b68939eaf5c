#include "device/port_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace orb {
namespace {
namespace fs = std::filesystem;

class FakeTree : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/orb-ports-XXXXXX";
        root_ = mkdtemp(tmpl);
        dev_ = root_ / "dev";
        sys_ = root_ / "sys";
        fs::create_directories(dev_ / "serial" / "by-id");
        for (const char* n : {"ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyS10", "ttyUSB10", "ttyUSB2", "ttyUSB0",
                              "ttyACM0", "ttyUSBx", "tty0", "ttyAMA0"}) {
            File(dev_ / n, "");
        }
        fs::create_symlink("../../ttyUSB2", dev_ / "serial" / "by-id" / "usb-FTDI_FT232R_A1B2-if00-port0");
        // UARTs: 0 and 3 answer, 1 reports type 0 (unknown), 2 has no device,
        // 10 belongs to a driver without a type attribute.
        Uart("ttyS0", "4", "0x3F8", "4");
        Uart("ttyS1", "0", "0x2F8", "3");
        fs::create_directories(sys_ / "class" / "tty" / "ttyS2");
        Uart("ttyS3", "4", "0x2E8", "3");
        fs::create_directories(sys_ / "class" / "tty" / "ttyS10");
        fs::create_directories(sys_ / "devices" / "platform" / "other");
        fs::create_directory_symlink(sys_ / "devices" / "platform" / "other",
                                     sys_ / "class" / "tty" / "ttyS10" / "device");
        // A USB adapter: the port under the interface under the device.
        const fs::path usb = sys_ / "devices" / "pci0000:00" / "usb1" / "1-1";
        fs::create_directories(usb / "1-1:1.0" / "ttyUSB2");
        File(usb / "idVendor", "0403\n");
        File(usb / "idProduct", "6001\n");
        File(usb / "manufacturer", "FTDI\n");
        File(usb / "product", "FT232R USB UART\n");
        fs::create_directories(sys_ / "class" / "tty" / "ttyUSB2");
        fs::create_directory_symlink(usb / "1-1:1.0" / "ttyUSB2",
                                     sys_ / "class" / "tty" / "ttyUSB2" / "device");
    }
    void TearDown() override { fs::remove_all(root_); }

    static void File(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    void Uart(const std::string& name, const std::string& type, const std::string& port,
              const std::string& irq) {
        const fs::path d = sys_ / "class" / "tty" / name;
        fs::create_directories(d);
        fs::create_directories(sys_ / "devices" / "platform" / "serial8250");
        fs::create_directory_symlink(sys_ / "devices" / "platform" / "serial8250", d / "device");
        File(d / "type", type + "\n");
        File(d / "port", port + "\n");
        File(d / "irq", irq + "\n");
    }
    PortListOptions Options(const std::string& named = {}) const {
        PortListOptions o;
        o.namedPort = named;
        o.devRoot = dev_.string();
        o.sysRoot = sys_.string();
        return o;
    }
    std::string Dev(const char* n) const { return (dev_ / n).string(); }

    fs::path root_, dev_, sys_;
};

TEST_F(FakeTree, GroupsInOrderRealUartsOnly) {
    const auto ports = ListSerialPorts(Options("/dev/my-probe"));
    std::vector<std::string> paths;
    for (const auto& p : ports) paths.push_back(p.path);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"/dev/my-probe", Dev("ttyUSB0"), Dev("ttyUSB2"), Dev("ttyUSB10"),
                                        Dev("ttyACM0"), Dev("ttyS0"), Dev("ttyS3"), Dev("ttyS10")}));
    EXPECT_TRUE(ports[0].named);
    EXPECT_FALSE(ports[1].named);
    EXPECT_EQ(*PortPath(1, Options("/dev/my-probe")), "/dev/my-probe");
    EXPECT_EQ(*PortPath(3, Options()), Dev("ttyUSB10"));
    EXPECT_FALSE(PortPath(8, Options()));
    EXPECT_FALSE(PortPath(0, Options()));
}

TEST_F(FakeTree, StableNamesAndDescriptions) {
    const auto ports = ListSerialPorts(Options());
    ASSERT_GE(ports.size(), 5u);
    EXPECT_EQ(ports[1].path, Dev("ttyUSB2"));
    EXPECT_EQ(ports[1].byIdPath, (dev_ / "serial" / "by-id" / "usb-FTDI_FT232R_A1B2-if00-port0").string());
    EXPECT_EQ(ports[1].description, "FTDI FT232R USB UART (0403:6001)");
    EXPECT_EQ(ports[0].byIdPath, "");
    EXPECT_EQ(ports[4].path, Dev("ttyS0"));
    EXPECT_EQ(ports[4].description, "UART 16550A, I/O 0x3F8, IRQ 4");
}

TEST_F(FakeTree, NamedPortIsNotListedTwice) {
    // Named through its stable name: it comes first and keeps that name.
    const std::string byId = (dev_ / "serial" / "by-id" / "usb-FTDI_FT232R_A1B2-if00-port0").string();
    const auto ports = ListSerialPorts(Options(byId));
    ASSERT_EQ(ports.size(), 7u);
    EXPECT_EQ(ports[0].path, byId);
    EXPECT_EQ(ports[0].byIdPath, byId);
    for (std::size_t i = 1; i < ports.size(); ++i) EXPECT_NE(ports[i].path, Dev("ttyUSB2"));
}

TEST_F(FakeTree, MissingTreesGiveOnlyTheNamedPort) {
    PortListOptions o = Options("/dev/ttyX");
    o.devRoot = (root_ / "nothing").string();
    o.sysRoot = (root_ / "nothing").string();
    const auto ports = ListSerialPorts(o);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].path, "/dev/ttyX");
}

TEST(PortListOptions, CommandLineBeforeEnvironment) {
    ::setenv("ORB_PORT", "/dev/from-env", 1);
    EXPECT_EQ(PortListOptions::FromEnvironment().namedPort, "/dev/from-env");
    EXPECT_EQ(PortListOptions::FromEnvironment("/dev/from-cli").namedPort, "/dev/from-cli");
    ::unsetenv("ORB_PORT");
    EXPECT_EQ(PortListOptions::FromEnvironment().namedPort, "");
}

}  // namespace
}  // namespace orb
