#include "support/fake_mixers.h"

#include "power/mixer_functions.h"

#include <cstring>

namespace {

FakeMixers* fakes = nullptr;

// The speakers line of a device; the test's volume controls have ids of their own.
DWORD LineOf(int device) {
    return 0xFFFF0000u + static_cast<DWORD>(device);
}

int DeviceOf(HMIXEROBJ mixer) {
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(mixer) >> 4) - 1;
}

FakeMixer* Find(HMIXEROBJ mixer) {
    const int device = DeviceOf(mixer);
    return device >= 0 && device < static_cast<int>(fakes->mixers.size()) ? &fakes->mixers[device]
                                                                          : nullptr;
}

// Zero once the fields that the caller sets have been cleared in the copy.
template <typename T> bool Zeroed(const T& copy) {
    static const T zero = {};
    return std::memcmp(&copy, &zero, sizeof(T)) == 0;
}

struct Call {
    Call(const char* name, int device) : text(name + (" " + std::to_string(device))) {}
    void Expect(bool ok, const char* what) { text += ok ? "" : std::string(" wrong ") + what; }
    void Record() { fakes->calls.push_back(text); }
    std::string text;
};

UINT WINAPI GetNumDevs() {
    fakes->calls.push_back("count");
    return static_cast<UINT>(fakes->mixers.size());
}

MMRESULT WINAPI Open(LPHMIXER mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags) {
    Call call("open", static_cast<int>(device));
    call.Expect(callback == 0 && instance == 0 && flags == 0, "flags");
    call.Record();
    if (device >= fakes->mixers.size() || !fakes->mixers[device].opens) {
        return MMSYSERR_BADDEVICEID;
    }
    *mixer = reinterpret_cast<HMIXER>(static_cast<std::uintptr_t>(device + 1) << 4);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI GetLineInfo(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags) {
    MIXERLINEA rest = *line;
    rest.cbStruct = rest.dwComponentType = 0;
    Call call("line", DeviceOf(mixer));
    call.Expect(line->cbStruct == sizeof(MIXERLINEA) && Zeroed(rest), "structure");
    call.Expect(line->dwComponentType == 4 && flags == 0x80000003, "type or flags");
    call.Record();
    if (Find(mixer) == nullptr || !Find(mixer)->speakers) {
        return MIXERR_INVALLINE;
    }
    line->dwLineID = LineOf(DeviceOf(mixer));
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI GetLineControls(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags) {
    MIXERLINECONTROLSA rest = *controls;
    rest.cbStruct = rest.dwLineID = rest.dwControlType = rest.cControls = rest.cbmxctrl = 0;
    rest.pamxctrl = nullptr;
    MIXERCONTROLA control = *controls->pamxctrl;
    control.cbStruct = 0;
    Call call("controls", DeviceOf(mixer));
    call.Expect(controls->cbStruct == sizeof(MIXERLINECONTROLSA) && Zeroed(rest) &&
                    controls->cControls == 1 && controls->cbmxctrl == sizeof(MIXERCONTROLA) &&
                    controls->pamxctrl->cbStruct == sizeof(MIXERCONTROLA) && Zeroed(control),
                "structure");
    call.Expect(controls->dwLineID == LineOf(DeviceOf(mixer)), "line");
    call.Expect(controls->dwControlType == 0x50030001 && flags == 0x80000002, "type or flags");
    call.Record();
    if (Find(mixer) == nullptr || !Find(mixer)->volume) {
        return MIXERR_INVALCONTROL;
    }
    controls->pamxctrl->dwControlID = Find(mixer)->controlId;
    return MMSYSERR_NOERROR;
}

// A read or write of one value, as one channel.
Call ValueCall(const char* name, HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    if (fakes->onValueCall) {
        fakes->onValueCall();
    }
    MIXERCONTROLDETAILS rest = *details;
    rest.cbStruct = rest.dwControlID = rest.cChannels = rest.cbDetails = 0;
    rest.paDetails = nullptr;
    Call call(name, DeviceOf(mixer));
    char id[20];
    snprintf(id, sizeof(id), " id=0x%lx", details->dwControlID);
    call.text += id;
    call.Expect(details->cbStruct == sizeof(MIXERCONTROLDETAILS) && Zeroed(rest) &&
                    details->cChannels == 1 && details->cbDetails == 4,
                "structure");
    call.Expect(flags == 0x80000000, "flags");
    return call;
}

MMRESULT WINAPI GetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    ValueCall("get", mixer, details, flags).Record();
    const FakeMixer* fake = Find(mixer);
    if (fake == nullptr || !fake->readable || details->dwControlID != fake->controlId) {
        return MIXERR_INVALCONTROL;
    }
    static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue = fake->value;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    const DWORD value = static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue;
    Call call = ValueCall("set", mixer, details, flags);
    call.text += " =" + std::to_string(value);
    call.Record();
    FakeMixer* fake = Find(mixer);
    if (fake == nullptr || details->dwControlID != fake->controlId) {
        return MIXERR_INVALCONTROL;
    }
    fake->value = value;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI Close(HMIXER mixer) {
    Call("close", DeviceOf(reinterpret_cast<HMIXEROBJ>(mixer))).Record();
    return MMSYSERR_NOERROR;
}

const MixerFunctions Fakes = {
    GetNumDevs, Open, GetLineInfo, GetLineControls, GetControlDetails, SetControlDetails, Close};

} // namespace

FakeMixers::FakeMixers(std::vector<FakeMixer> mixers) : mixers(std::move(mixers)) {
    fakes = this;
    mixerFunctions = &Fakes;
}

FakeMixers::~FakeMixers() {
    mixerFunctions = &WinmmMixers;
    fakes = nullptr;
}
