#include "unit/unit_link.h"

#include "unit/command_packet.h"
#include "unit/command_pause.h"
#include "unit/unit_device.h"

namespace {

// Opens an unopened link for one operation and closes it again when the operation ends. A link
// that was open, or closed, is left as it was.
class OpenForOperation {
public:
    explicit OpenForOperation(UnitLink& link) : link_(link) {
        if (link_.handle == INVALID_HANDLE_VALUE) {
            ready_ = link_.EnsureOpen();
            openedHere_ = ready_;
        }
    }
    ~OpenForOperation() {
        if (openedHere_) {
            link_.Close();
        }
    }
    OpenForOperation(const OpenForOperation&) = delete;
    OpenForOperation& operator=(const OpenForOperation&) = delete;

    bool Ready() const { return ready_; }

private:
    UnitLink& link_;
    bool ready_ = true;
    bool openedHere_ = false;
};

} // namespace

UnitLink::~UnitLink() {
    Close();
}

bool UnitLink::EnsureOpen() {
    if (handle != INVALID_HANDLE_VALUE) {
        return true;
    }
    handle = OpenUnitDevice();
    return handle != INVALID_HANDLE_VALUE;
}

void UnitLink::Close() {
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    CloseDeviceHandle(handle);
    handle = nullptr;
}

bool UnitLink::IsOpen() const {
    return !IsInvalidHandle(handle);
}

bool UnitLink::SendCommand(std::uint32_t code) {
    if (!IsOpen()) {
        return false;
    }
    std::uint8_t packet[CommandPacketSize];
    EncodeCommandPacket(code, packet);
    if (!DriverTransfer(handle, false, CommandPacketSize, packet)) {
        return false;
    }
    PauseAfterCommand();
    return true;
}

bool UnitLink::ReadStatus() {
    if (!IsOpen()) {
        return false;
    }
    std::uint8_t block[StatusBlockSize] = {};
    if (!DriverTransfer(handle, true, StatusBlockSize, block)) {
        return false;
    }
    status = DecodeStatusBlock(block);
    return true;
}

// A failed status read sends nothing: an unknown state must never be taken for "off" and
// switch the unit on.
bool UnitLink::TogglePower(std::uint32_t* sent) {
    OpenForOperation open(*this);
    if (sent != nullptr) {
        *sent = 0;
    }
    if (!open.Ready()) {
        return false;
    }
    if (ReadStatus()) {
        const std::uint32_t code = status.powerOn ? PowerOff : PowerOn;
        if (SendCommand(code) && sent != nullptr) {
            *sent = code;
        }
    }
    return true;
}

bool UnitLink::ToggleMute() {
    OpenForOperation open(*this);
    return open.Ready() && SendCommand(MuteToggle);
}

bool UnitLink::SetPower(std::uint8_t wanted) {
    OpenForOperation open(*this);
    if (!open.Ready()) {
        return false;
    }
    if (ReadStatus()) {
        if (wanted == PowerWantedOff && status.powerOn) {
            SendCommand(PowerOff);
        } else if (wanted == PowerWantedOn && !status.powerOn) {
            SendCommand(PowerOn);
        }
    }
    return true;
}

bool UnitLink::SetVolumeLevel(int volume) {
    OpenForOperation open(*this);
    return open.Ready() && volume >= MinVolume && volume <= MaxVolume &&
           SendCommand(NumberedCommand(SetVolume, static_cast<std::uint32_t>(volume)));
}

void UnitLink::SelectInput(unsigned input) {
    OpenForOperation open(*this);
    const std::uint32_t code = SelectCodeForInput(input);
    if (open.Ready() && code != 0) {
        SendCommand(code);
    }
}
