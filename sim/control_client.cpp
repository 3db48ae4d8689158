#include "sim/control_client.h"

#include <setupapi.h>

#include <cstring>

namespace {

const GUID UnitInterfaceClass = {
    0x40D21F00, 0x3D74, 0x11D4, {0x9D, 0x36, 0x00, 0x60, 0x97, 0x23, 0x51, 0x3D}};

constexpr DWORD PollIntervalMs = 10;

// The instance number in an interface path such as \\?\root#norviksim#0003#{...}: the digits
// between the second and third '#'; -1 when there are none.
int InstanceFromDevicePath(const char* path) {
    const char* p = path;
    for (int hashes = 0; hashes < 2; ++p) {
        if (*p == '\0') {
            return -1;
        }
        if (*p == '#') {
            ++hashes;
        }
    }
    int value = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 6; ++p, ++digits) {
        value = value * 10 + (*p - '0');
    }
    return digits > 0 && *p == '#' ? value : -1;
}

int InstanceOfInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        return -1;
    }
    std::vector<std::uint8_t> storage(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr)) {
        return -1;
    }
    return InstanceFromDevicePath(detail->DevicePath);
}

} // namespace

std::uint32_t ListedUnitInstances(std::uint32_t* count) {
    std::uint32_t listed = 0;
    std::uint32_t found = 0;
    HDEVINFO set = SetupDiGetClassDevsA(&UnitInterfaceClass, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set != INVALID_HANDLE_VALUE) {
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof(data);
        for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &UnitInterfaceClass, i, &data);
             ++i) {
            ++found;
            const int instance = InstanceOfInterface(set, data);
            if (instance >= 0 && instance < 32) {
                listed |= 1u << instance;
            }
        }
        SetupDiDestroyDeviceInfoList(set);
    }
    if (count != nullptr) {
        *count = found;
    }
    return listed;
}

SimControl::~SimControl() {
    Disconnect();
}

bool SimControl::Connect() {
    if (IsConnected()) {
        return true;
    }
    device_ = CreateFileA(SIM_CONTROL_DEVICE_PATH, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    lastError_ = IsConnected() ? ERROR_SUCCESS : GetLastError();
    return IsConnected();
}

void SimControl::Disconnect() {
    if (IsConnected()) {
        CloseHandle(device_);
        device_ = INVALID_HANDLE_VALUE;
    }
}

bool SimControl::Call(SimOp op, std::uint32_t instance, std::uint32_t arg, void* reply,
                      DWORD replySize, DWORD* returned) {
    SimRequest request = {};
    request.op = op;
    request.instance = instance;
    request.arg = arg;
    return Send(request, reply, replySize, returned);
}

bool SimControl::Send(const SimRequest& request, void* reply, DWORD replySize, DWORD* returned) {
    if (!IsConnected()) {
        lastError_ = ERROR_NOT_READY;
        return false;
    }
    DWORD bytes = 0;
    const BOOL ok = DeviceIoControl(device_, SimControlIoctl, const_cast<SimRequest*>(&request),
                                    sizeof(request), reply, replySize, &bytes, nullptr);
    lastError_ = ok ? ERROR_SUCCESS : GetLastError();
    if (returned != nullptr) {
        *returned = bytes;
    }
    return ok != FALSE;
}

bool SimControl::Info(SimInfo& info) {
    DWORD returned = 0;
    return Call(SimOpGetInfo, 0, 0, &info, sizeof(info), &returned) && returned == sizeof(info);
}

bool SimControl::GetState(std::uint32_t instance, SimUnitState& state) {
    DWORD returned = 0;
    return Call(SimOpGetState, instance, 0, &state, sizeof(state), &returned) &&
           returned == sizeof(state);
}

bool SimControl::SetState(std::uint32_t instance, const SimUnitState& state) {
    SimRequest request = {};
    request.op = SimOpSetState;
    request.instance = instance;
    request.state = state;
    return Send(request, nullptr, 0, nullptr);
}

bool SimControl::Press(std::uint32_t instance, std::uint32_t code, bool* applied) {
    std::uint32_t reply = 0;
    DWORD returned = 0;
    if (!Call(SimOpPress, instance, code, &reply, sizeof(reply), &returned)) {
        return false;
    }
    if (applied != nullptr) {
        *applied = returned == sizeof(reply) && reply != 0;
    }
    return true;
}

bool SimControl::SetPresent(std::uint32_t instance, bool present) {
    return Call(SimOpSetPresent, instance, present ? 1 : 0);
}

bool SimControl::FailNext(std::uint32_t count) {
    return Call(SimOpFailNext, 0, count);
}

bool SimControl::FailEvery(std::uint32_t every) {
    return Call(SimOpFailEvery, 0, every);
}

bool SimControl::RefuseTransfers(bool refuse) {
    return Call(SimOpRefuse, 0, refuse ? 1 : 0);
}

bool SimControl::ReadLog(std::vector<SimLogEntry>& entries, bool clear, std::uint32_t* dropped) {
    return ReadEntries(SimOpReadLog, clear ? 1 : 0, SimLogCapacity, entries, dropped);
}

bool SimControl::ReadRecentLog(std::vector<SimLogEntry>& entries) {
    return ReadEntries(SimOpReadRecent, 0, SimRecentCapacity, entries, nullptr);
}

bool SimControl::ReadEntries(SimOp op, std::uint32_t arg, std::uint32_t capacity,
                             std::vector<SimLogEntry>& entries, std::uint32_t* dropped) {
    entries.clear();
    std::vector<std::uint8_t> reply(sizeof(SimLogReply) + capacity * sizeof(SimLogEntry));
    DWORD returned = 0;
    if (!Call(op, 0, arg, reply.data(), static_cast<DWORD>(reply.size()), &returned) ||
        returned < sizeof(SimLogReply)) {
        return false;
    }
    SimLogReply head;
    std::memcpy(&head, reply.data(), sizeof(head));
    const std::size_t available = (returned - sizeof(SimLogReply)) / sizeof(SimLogEntry);
    const std::size_t count = head.count < available ? head.count : available;
    entries.resize(count);
    if (count > 0) {
        std::memcpy(entries.data(), reply.data() + sizeof(SimLogReply),
                    count * sizeof(SimLogEntry));
    }
    if (dropped != nullptr) {
        *dropped = head.dropped;
    }
    return true;
}

bool SimControl::SetClock(bool running) {
    return Call(SimOpSetClock, 0, running ? 1 : 0);
}

bool SimControl::AdvanceClock(std::uint32_t ms) {
    return Call(SimOpAdvanceClock, 0, ms);
}

bool SimControl::SetReadAnswer(std::uint32_t statusBytes) {
    return Call(SimOpSetReadAnswer, 0, statusBytes);
}

bool SimControl::Reset(std::uint32_t instance) {
    return Call(SimOpReset, instance, 0);
}

bool SimControl::StartFresh(std::uint32_t presentCount) {
    SimInfo info = {};
    if (!Info(info) || !FailNext(0) || !FailEvery(0) || !RefuseTransfers(false) ||
        !SetReadAnswer(SimTransferDataSize) || !SetClock(false)) {
        return false;
    }
    for (std::uint32_t i = 0; i < info.instanceCount; ++i) {
        if (!info.instances[i].installed) {
            continue;
        }
        if (!Reset(i) || !SetPresent(i, i < presentCount)) {
            return false;
        }
    }
    std::vector<SimLogEntry> discarded;
    return ReadLog(discarded, true);
}

bool SimControl::WaitForOpenHandles(std::uint32_t expected, DWORD timeoutMs) {
    return WaitForHandleCount(AllInstances, expected, timeoutMs);
}

bool SimControl::WaitForOpenHandles(std::uint32_t instance, std::uint32_t expected,
                                    DWORD timeoutMs) {
    return instance < SimMaxInstances && WaitForHandleCount(instance, expected, timeoutMs);
}

bool SimControl::WaitForHandleCount(std::uint32_t instance, std::uint32_t expected,
                                    DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        SimInfo info = {};
        if (!Info(info)) {
            return false;
        }
        const std::uint32_t open =
            instance == AllInstances ? info.openHandles : info.instances[instance].openHandles;
        if (open == expected) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(PollIntervalMs);
    }
}

bool SimControl::WaitUntilListed(std::uint32_t instance, bool listed, DWORD timeoutMs) {
    if (instance >= 32) {
        return false;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        const bool isListed = (ListedUnitInstances() >> instance) & 1u;
        if (isListed == listed) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(PollIntervalMs);
    }
}
