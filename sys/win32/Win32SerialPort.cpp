#include "sys/SerialPort.h"

namespace sys {
namespace {

// First version: opens nothing yet.
class Win32SerialPorts final : public SerialPorts {
public:
    std::unique_ptr<SerialPort> OpenExclusive(const std::string&) override { return nullptr; }
    std::string LastOpenError() const override { return "not available yet"; }
};

}  // namespace

SerialPorts& SystemSerialPorts()
{
    static Win32SerialPorts ports;
    return ports;
}

}  // namespace sys
