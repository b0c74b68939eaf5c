// The numbered serial ports of this machine. Port number n (1-based) names
// the n-th entry: first the port named on the command line (--port PATH) or
// by the environment variable ORB_PORT, then /dev/ttyUSB*, /dev/ttyACM* and
// the /dev/ttyS* that have a UART behind them, each group in numeric order.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orb {

// The automatic port search tries the numbers 1 .. kPortSearchLimit.
inline constexpr int kPortSearchLimit = 29;

struct PortInfo {
    std::string path;         // the device node to open, e.g. /dev/ttyUSB0
    std::string byIdPath;     // its stable name under /dev/serial/by-id, or empty
    std::string description;  // maker and product or UART type from sysfs, or empty
    bool named = false;       // given by --port or ORB_PORT
};

struct PortListOptions {
    std::string namedPort;  // listed first, whether or not it exists
    // Roots of the device and sysfs trees (tests point them at a fake tree).
    std::string devRoot = "/dev";
    std::string sysRoot = "/sys";

    // `commandLinePort` when given, else $ORB_PORT.
    static PortListOptions FromEnvironment(const std::string& commandLinePort = {});
};

std::vector<PortInfo> ListSerialPorts(const PortListOptions& options);

// Path of port number n (1-based), or nothing when the list is shorter.
std::optional<std::string> PortPath(int n, const PortListOptions& options);

}  // namespace orb
