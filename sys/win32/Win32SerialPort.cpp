#include "sys/win32/Win32SerialPort.h"

#include <cstring>
#include <optional>

#include "sys/win32/CommSettings.h"

namespace sys {

static_assert(win32::PURGE_TX_ABORT == PURGE_TXABORT && win32::PURGE_RX_ABORT == PURGE_RXABORT &&
                  win32::PURGE_TX_CLEAR == PURGE_TXCLEAR && win32::PURGE_RX_CLEAR == PURGE_RXCLEAR,
              "purge flags");
static_assert(win32::READ_INTERVAL_NONE == MAXDWORD, "read interval");

namespace {

std::string SystemMessage(DWORD error) {
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, text, sizeof text, nullptr);
    std::string message(text, length < sizeof text ? length : 0);
    while (!message.empty() &&
           (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "error " + std::to_string(error);
    return message;
}

}  // namespace

Win32SerialPort::Win32SerialPort(HANDLE handle) : m_handle(handle) {}

void Win32SerialPort::Discard(DiscardScope scope) {
    ::PurgeComm(m_handle.Get(), win32::PurgeFlags(scope));
}

bool Win32SerialPort::SetByteWait(std::uint32_t milliseconds) {
    const std::optional<win32::CommTimeoutValues> timeouts =
        win32::TimeoutsForByteWait(milliseconds);
    if (!timeouts) return false;
    COMMTIMEOUTS values{};
    values.ReadIntervalTimeout = timeouts->readInterval;
    values.ReadTotalTimeoutMultiplier = timeouts->readTotalMultiplier;
    values.ReadTotalTimeoutConstant = timeouts->readTotalConstant;
    values.WriteTotalTimeoutMultiplier = timeouts->writeTotalMultiplier;
    values.WriteTotalTimeoutConstant = timeouts->writeTotalConstant;
    return ::SetCommTimeouts(m_handle.Get(), &values) != FALSE;
}

bool Win32SerialPort::ApplyLineSettings(const LineSettings& settings) {
    const std::optional<std::string> definition = win32::DefinitionString(settings);
    if (!definition) return false;
    // All zero, length included, so the string alone decides: no flow control is switched on.
    DCB control;
    std::memset(&control, 0, sizeof control);
    if (!::BuildCommDCBA(definition->c_str(), &control)) return false;
    control.DCBlength = sizeof(DCB);
    return ::SetCommState(m_handle.Get(), &control) != FALSE;
}

bool Win32SerialPort::WriteAndFlush(const std::uint8_t* data, std::size_t count) {
    if (count > MAXDWORD) return false;
    DWORD written = 0;
    const BOOL wrote =
        ::WriteFile(m_handle.Get(), data, static_cast<DWORD>(count), &written, nullptr);
    const BOOL flushed = ::FlushFileBuffers(m_handle.Get());
    return wrote && flushed && written == count;
}

ReadStatus Win32SerialPort::ReadByte(std::uint8_t& byte) {
    DWORD received = 0;
    if (!::ReadFile(m_handle.Get(), &byte, 1, &received, nullptr)) return ReadStatus::Failed;
    return received == 1 ? ReadStatus::Byte : ReadStatus::Empty;
}

void Win32SerialPort::ClearError() {
    DWORD errors = 0;
    COMSTAT status{};
    ::ClearCommError(m_handle.Get(), &errors, &status);
}

OpenResult Win32SerialPorts::OpenExclusive(const std::string& path) {
    OpenResult result;
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result.failure.kind = OpenFailure::Kind::System;
        result.failure.systemText = SystemMessage(::GetLastError());
        return result;
    }
    result.port = std::make_unique<Win32SerialPort>(handle);
    return result;
}

SerialPorts& SystemSerialPorts() {
    static Win32SerialPorts ports;
    return ports;
}

}  // namespace sys
