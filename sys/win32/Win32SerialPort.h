#pragma once
// Serial ports through the Windows communications API, called as documented.

#include <windows.h>

#include <string>

#include "sys/SerialPort.h"

namespace sys {

// Owns one kernel handle and closes it when destroyed.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() {
        if (Valid()) ::CloseHandle(m_handle);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

private:
    HANDLE m_handle;
};

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle);

    void Discard(DiscardScope scope) override;
    bool SetByteWait(std::uint32_t milliseconds) override;
    bool ApplyLineSettings(const LineSettings& settings) override;
    bool WriteAndFlush(const std::uint8_t* data, std::size_t count) override;
    ReadStatus ReadByte(std::uint8_t& byte) override;
    void ClearError() override;

private:
    UniqueHandle m_handle;
};

class Win32SerialPorts final : public SerialPorts {
public:
    // No sharing, existing device only, synchronous input/output. A failure carries the
    // system's own message, in the system's language.
    OpenResult OpenExclusive(const std::string& path) override;
};

}  // namespace sys
