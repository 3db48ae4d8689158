#include "support/fake_mixers.h"

#include "power/mixer_functions.h"

#include <cstring>

namespace {

FakeMixers* fakes = nullptr;

// Device d is known by the handle (d + 1) << 4; its speakers line is 0xFFFF0000 + d.
std::uint32_t DeviceOf(HMIXEROBJ mixer) {
    return static_cast<std::uint32_t>((reinterpret_cast<std::uintptr_t>(mixer) >> 4) - 1);
}

MMRESULT Record(const char* name, HMIXEROBJ mixer, const std::string& detail, bool right,
                bool works) {
    fakes->calls.push_back(name + (" " + std::to_string(DeviceOf(mixer))) + detail +
                           (right ? "" : " wrong"));
    return works ? MMSYSERR_NOERROR : MIXERR_INVALCONTROL;
}

UINT WINAPI GetNumDevs() {
    fakes->calls.push_back("count");
    return static_cast<UINT>(fakes->mixers.size());
}

MMRESULT WINAPI Open(LPHMIXER mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags) {
    *mixer = reinterpret_cast<HMIXER>(std::uintptr_t{device + 1} << 4);
    return Record("open", reinterpret_cast<HMIXEROBJ>(*mixer), "",
                  callback == 0 && instance == 0 && flags == 0, fakes->mixers.at(device).opens);
}

MMRESULT WINAPI GetLineInfo(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags) {
    const bool works = fakes->mixers.at(DeviceOf(mixer)).speakers;
    line->dwLineID = works ? 0xFFFF0000 + DeviceOf(mixer) : 0;
    return Record("line", mixer, "",
                  line->cbStruct == sizeof(MIXERLINEA) && line->dwComponentType == 4 &&
                      flags == 0x80000003,
                  works);
}

MMRESULT WINAPI GetLineControls(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags) {
    const FakeMixer& fake = fakes->mixers.at(DeviceOf(mixer));
    controls->pamxctrl->dwControlID = fake.volume ? fake.controlId : 0;
    return Record("controls", mixer, "",
                  controls->cbStruct == sizeof(MIXERLINECONTROLSA) &&
                      controls->dwLineID == 0xFFFF0000 + DeviceOf(mixer) &&
                      controls->dwControlType == 0x50030001 && controls->cControls == 1 &&
                      controls->cbmxctrl == sizeof(MIXERCONTROLA) &&
                      controls->pamxctrl->cbStruct == sizeof(MIXERCONTROLA) && flags == 0x80000002,
                  fake.volume);
}

// A read or a write of one value for all channels: the control and the value that reach it.
MMRESULT ValueCall(const char* name, HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    if (fakes->onValueCall) {
        fakes->onValueCall();
    }
    FakeMixer& fake = fakes->mixers.at(DeviceOf(mixer));
    DWORD& value = static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue;
    const bool write = std::strcmp(name, "set") == 0;
    const bool works = details->dwControlID == fake.controlId && (write || fake.readable);
    char detail[40];
    snprintf(detail, sizeof(detail), write ? " id=0x%lx =%lu" : " id=0x%lx", details->dwControlID,
             value);
    if (works && write) {
        fake.value = value;
    } else if (works) {
        value = fake.value;
    }
    return Record(name, mixer, detail,
                  details->cbStruct == sizeof(MIXERCONTROLDETAILS) && details->cChannels == 1 &&
                      details->cMultipleItems == 0 && details->cbDetails == 4 &&
                      flags == 0x80000000,
                  works);
}

MMRESULT WINAPI GetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    return ValueCall("get", mixer, details, flags);
}

MMRESULT WINAPI SetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    return ValueCall("set", mixer, details, flags);
}

MMRESULT WINAPI Close(HMIXER mixer) {
    return Record("close", reinterpret_cast<HMIXEROBJ>(mixer), "", true, true);
}

const MixerFunctions Fakes = {
    GetNumDevs, Open, GetLineInfo, GetLineControls, GetControlDetails, SetControlDetails, Close};

} // namespace

FakeMixers::FakeMixers(std::vector<FakeMixer> mixers) : mixers(std::move(mixers)) {
    fakes = this;
    mixerFunctions = &Fakes;
}

FakeMixers::~FakeMixers() {
    mixerFunctions = nullptr; // winmm's again, at the next need
    fakes = nullptr;
}
