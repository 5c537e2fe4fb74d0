// The HKLM\Enum walk over a registry tree built from the input, then the whole driver with a
// legacy version (the same walk and the completion of names). Only DiscoveryFailure may
// leave; afterwards no key is open, and every entry is one the walk may produce, its USB
// mark matching where its port name was found.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "fuzz/Check.h"
#include "ports/DiscoverPorts.h"
#include "ports/RegistryDiscovery.h"
#include "sys/DiscoveryPlatform.h"
#include "tests/sys/FakeRegistry.h"

namespace {

constexpr std::size_t NAME_BUFFER = 128;
constexpr std::size_t DATA_BUFFER = 128;
const std::string FAILURE_PREFIX = "Could not read from HKLM\\Enum";

// Names the walk looks for, near misses, and anything at all.
std::string PickName(FuzzedDataProvider& input) {
    static const char* const KNOWN_NAMES[] = {"Enum",     "USBPORTS", "usbports",  "*PNP0500",
                                              "*PNP0501", "*pnp0501", "*PNP05011", "BIOS",
                                              "ROOT",     "0000",     "0D",        "PNP0501"};
    const std::size_t pick = input.ConsumeIntegralInRange<std::size_t>(0, 15);
    if (pick < sizeof KNOWN_NAMES / sizeof *KNOWN_NAMES) return KNOWN_NAMES[pick];
    std::string name = input.ConsumeRandomLengthString(200);
    return name.substr(0, name.find('\0'));  // a registry name holds no zero byte
}

void AddValue(FuzzedDataProvider& input, fake::Registry::Key& key, const char* name) {
    if (input.ConsumeIntegralInRange<int>(0, 3) == 0) return;
    std::string data = input.ConsumeRandomLengthString(200);
    if (input.ConsumeBool()) data.push_back('\0');  // stored as a text with its terminating zero
    key.values[name] = data;
}

// depth 0 is HKEY_LOCAL_MACHINE, 1 Enum, 2 first level, 3 device, 4 instance.
void BuildKey(FuzzedDataProvider& input, fake::Registry::Key& key, int depth) {
    if (depth > 0) {
        key.name =
            depth == 1 && input.ConsumeIntegralInRange<int>(0, 7) != 0 ? "Enum" : PickName(input);
        key.refusesOpen = input.ConsumeIntegralInRange<int>(0, 15) == 0;
    }
    if (depth == 4) {
        AddValue(input, key, "PORTNAME");
        AddValue(input, key, "FRIENDLYNAME");
        return;
    }
    const int children = depth == 0 ? 1 : input.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < children && input.remaining_bytes() > 0; ++i) {
        key.subkeys.push_back(std::make_unique<fake::Registry::Key>());
        BuildKey(input, *key.subkeys.back(), depth + 1);
    }
}

// No key left open, none closed twice, no handle used after its close.
void CheckHandles(const fake::Registry& registry) {
    FUZZ_CHECK(registry.OpenCount() == 0);
    FUZZ_CHECK(registry.badCloses == 0);
    FUZZ_CHECK(registry.badUses == 0);
}

class LegacyPlatform final : public sys::DiscoveryPlatform,
                             sys::WindowsServices,
                             sys::OsInfo,
                             sys::ModuleLoader {
public:
    explicit LegacyPlatform(sys::Registry& registry) : m_registry(registry) {}
    sys::WindowsServices* Windows() override { return this; }
    sys::ModuleLoader& Modules() override { return *this; }
    sys::Registry& HardwareRegistry() override { return m_registry; }
    sys::OsInfo& Os() override { return *this; }

    bool GetVersion(sys::OsVersion& version) override {
        version = {4, sys::PLATFORM_WIN32_WINDOWS};
        return true;
    }
    std::uint32_t LastError() const override { return 0; }
    std::unique_ptr<sys::Module> Load(const char*) override { return nullptr; }

private:
    sys::Registry& m_registry;
};

// The port names the walk may find on USB, and off it: every "PORTNAME" read as a text (to its
// first zero byte) under a first-level key "USBPORTS", and under a "*PNP0500" or "*PNP0501"
// device key elsewhere. A key is opened by the name enumerated, and names match without
// regard to case, so the key walked is the first of that name.
struct PortNames {
    std::set<std::string> usb;
    std::set<std::string> other;
};

PortNames NamesInTree(fake::Registry& registry) {
    PortNames names;
    fake::Registry::Key* enumKey = registry.Root().Find("Enum");
    if (enumKey == nullptr) return names;
    for (const auto& listedFirst : enumKey->subkeys) {
        const bool usb = listedFirst->name == "USBPORTS";
        fake::Registry::Key* first = enumKey->Find(listedFirst->name);
        for (const auto& listedDevice : first->subkeys) {
            if (!usb && listedDevice->name != "*PNP0500" && listedDevice->name != "*PNP0501")
                continue;
            fake::Registry::Key* device = first->Find(listedDevice->name);
            for (const auto& listedInstance : device->subkeys) {
                const fake::Registry::Key* instance = device->Find(listedInstance->name);
                const auto value = instance->values.find("PORTNAME");
                if (value != instance->values.end())
                    (usb ? names.usb : names.other)
                        .insert(value->second.substr(0, value->second.find('\0')));
            }
        }
    }
    return names;
}

void CheckEntries(const PortList& ports, const PortNames& found, bool completed) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < ports.GetCount(); ++i) {
        const PortEntry& entry = ports.GetAt(i);
        FUZZ_CHECK(entry.portName.size() < DATA_BUFFER + 1);
        FUZZ_CHECK(entry.portName.find('\0') == std::string::npos);
        FUZZ_CHECK(entry.friendlyName.find('\0') == std::string::npos);
        FUZZ_CHECK(entry.devicePath == "\\\\.\\" + entry.portName);
        FUZZ_CHECK((entry.isUsb ? found.usb : found.other).count(entry.portName) == 1);
        FUZZ_CHECK(names.insert(entry.portName).second);  // one entry per port name
        if (!completed) {
            FUZZ_CHECK(entry.friendlyName.size() <= DATA_BUFFER);
            FUZZ_CHECK(entry.description.empty());
        } else {
            FUZZ_CHECK(!entry.friendlyName.empty() || entry.portName.empty());
            FUZZ_CHECK(entry.friendlyName.compare(0, entry.description.size(), entry.description) ==
                       0);
        }
    }
}

// Runs one discovery; a failure must be a DiscoveryFailure with one of the walk's texts.
template <typename Run>
bool RunsToTheEnd(Run run) {
    try {
        run();
        return true;
    } catch (const DiscoveryFailure& failure) {
        const std::string text = failure.what();
        FUZZ_CHECK(text.compare(0, FAILURE_PREFIX.size(), FAILURE_PREFIX) == 0);
        FUZZ_CHECK(text.size() <= FAILURE_PREFIX.size() + 2 * NAME_BUFFER + 8);
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto failEnum = input.ConsumeIntegralInRange<std::uint32_t>(0, 40);
    const auto failQuery = input.ConsumeIntegralInRange<std::uint32_t>(0, 20);
    fake::Registry registry;
    BuildKey(input, registry.Root(), 0);
    const PortNames names = NamesInTree(registry);

    // The walk on its own, with the registry failing where the input says.
    registry.failEnumCall = failEnum;
    registry.failQueryCall = failQuery;
    PortList walked;
    RunsToTheEnd([&] { DiscoverRegistryPorts(walked, registry); });
    CheckHandles(registry);
    CheckEntries(walked, names, false);

    // The driver over the same tree: the walk, then names completed on success.
    registry.failEnumCall = 0;
    registry.failQueryCall = 0;
    LegacyPlatform platform(registry);
    PortList discovered;
    discovered.Append(PortEntry{"stale", "stale", "stale", true, "stale"});
    const bool completed = RunsToTheEnd([&] { DiscoverPorts(discovered, platform); });
    CheckHandles(registry);
    CheckEntries(discovered, names, completed);
    return 0;
}
