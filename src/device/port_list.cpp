#include "device/port_list.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace orb {
namespace fs = std::filesystem;
namespace {

// First line of a small sysfs file, without the line end; empty when absent.
std::string ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (in) std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

std::string Canonical(const fs::path& p) {
    std::error_code ec;
    fs::path c = fs::canonical(p, ec);
    return ec ? p.lexically_normal().string() : c.string();
}

// Numeric suffix of `name` after `prefix` ("ttyUSB12" -> 12); nothing when
// the rest is not all digits.
std::optional<long> Suffix(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    long n = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    auto [ptr, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    return n;
}

// Device names of one group in numeric order.
std::vector<std::string> Group(const fs::path& devRoot, const std::string& prefix) {
    std::vector<std::pair<long, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(devRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (auto n = Suffix(name, prefix)) found.emplace_back(*n, name);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(std::move(f.second));
    return names;
}

// The kernel creates every ttyS node whether or not a UART answers; only a
// port with a device link whose reported type is not 0 (unknown) is real.
bool IsRealUart(const fs::path& ttyDir) {
    std::error_code ec;
    if (!fs::exists(ttyDir / "device", ec)) return false;
    const std::string type = ReadLine(ttyDir / "type");
    return type.empty() ? !fs::exists(ttyDir / "type", ec) : type != "0";
}

std::string UartDescription(const fs::path& ttyDir) {
    static const std::map<std::string, std::string> kTypes = {
        {"1", "8250"},    {"2", "16450"}, {"3", "16550"},   {"4", "16550A"}, {"5", "Cirrus"}, {"6", "16650"},
        {"7", "16650V2"}, {"8", "16750"}, {"10", "16C950"}, {"11", "16654"}, {"12", "16850"},
    };
    const std::string type = ReadLine(ttyDir / "type");
    const auto t = kTypes.find(type);
    std::string d =
        "UART " + (t != kTypes.end() ? t->second : (type.empty() ? std::string("?") : "type " + type));
    const std::string port = ReadLine(ttyDir / "port");
    if (!port.empty() && port != "0x0") d += ", I/O " + port;
    const std::string irq = ReadLine(ttyDir / "irq");
    if (!irq.empty() && irq != "0") d += ", IRQ " + irq;
    return d;
}

// Maker, product and ids of the USB device above a USB serial port.
std::string UsbDescription(const fs::path& ttyDir) {
    std::error_code ec;
    fs::path dir = fs::canonical(ttyDir / "device", ec);
    if (ec) return {};
    for (int level = 0; level < 5 && !dir.empty() && dir != dir.root_path(); ++level) {
        if (fs::exists(dir / "idVendor", ec)) {
            std::string d = ReadLine(dir / "manufacturer");
            const std::string product = ReadLine(dir / "product");
            if (!product.empty()) d += (d.empty() ? "" : " ") + product;
            d += (d.empty() ? "" : " ") +
                 ("(" + ReadLine(dir / "idVendor") + ":" + ReadLine(dir / "idProduct") + ")");
            return d;
        }
        dir = dir.parent_path();
    }
    return {};
}

// by-id link targets (canonical) -> link path.
std::map<std::string, std::string> ByIdLinks(const fs::path& devRoot) {
    std::map<std::string, std::string> links;
    std::error_code ec;
    for (fs::directory_iterator it(devRoot / "serial" / "by-id", ec), end; !ec && it != end;
         it.increment(ec)) {
        links.emplace(Canonical(it->path()), it->path().string());
    }
    return links;
}

}  // namespace

PortListOptions PortListOptions::FromEnvironment(const std::string& commandLinePort) {
    PortListOptions o;
    o.namedPort = commandLinePort;
    if (o.namedPort.empty()) {
        if (const char* env = std::getenv("ORB_PORT")) o.namedPort = env;
    }
    return o;
}

std::vector<PortInfo> ListSerialPorts(const PortListOptions& options) {
    const fs::path dev(options.devRoot);
    const fs::path ttyClass = fs::path(options.sysRoot) / "class" / "tty";
    const auto byId = ByIdLinks(dev);
    std::vector<PortInfo> ports;
    std::string namedCanonical;
    if (!options.namedPort.empty()) {
        PortInfo p;
        p.path = options.namedPort;
        p.named = true;
        namedCanonical = Canonical(p.path);
        if (auto it = byId.find(namedCanonical); it != byId.end()) p.byIdPath = it->second;
        ports.push_back(std::move(p));
    }
    for (const std::string prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        for (const std::string& name : Group(dev, prefix)) {
            const fs::path ttyDir = ttyClass / name;
            if (prefix == "ttyS" && !IsRealUart(ttyDir)) continue;
            PortInfo p;
            p.path = (dev / name).string();
            const std::string canonical = Canonical(p.path);
            if (canonical == namedCanonical) continue;  // already listed first
            if (auto it = byId.find(canonical); it != byId.end()) p.byIdPath = it->second;
            p.description = prefix == "ttyS" ? UartDescription(ttyDir) : UsbDescription(ttyDir);
            ports.push_back(std::move(p));
        }
    }
    return ports;
}

std::optional<std::string> PortPath(int n, const PortListOptions& options) {
    if (n < 1) return std::nullopt;
    const auto ports = ListSerialPorts(options);
    if (static_cast<std::size_t>(n) > ports.size()) return std::nullopt;
    return ports[static_cast<std::size_t>(n) - 1].path;
}

}  // namespace orb
