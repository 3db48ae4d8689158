#include "power/mixer_volume_snapshot.h"

#include "power/mixer_functions.h"

#include <cstdlib>

#ifndef _WIN64
static_assert(sizeof(MIXERLINEA) == 168);
static_assert(sizeof(MIXERLINECONTROLSA) == 24);
static_assert(sizeof(MIXERCONTROLA) == 148);
static_assert(sizeof(MIXERCONTROLDETAILS) == 24);
#endif
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == 4);

namespace {

// One mixer device, open for the lifetime of the object.
class OpenMixer {
public:
    explicit OpenMixer(std::int32_t device) {
        opened_ = mixerFunctions->open(&handle_, static_cast<UINT>(device), 0, 0,
                                       MIXER_OBJECTF_MIXER | CALLBACK_NULL) == MMSYSERR_NOERROR;
    }
    ~OpenMixer() {
        if (opened_) {
            mixerFunctions->close(handle_);
        }
    }
    OpenMixer(const OpenMixer&) = delete;
    OpenMixer& operator=(const OpenMixer&) = delete;

    bool Opened() const { return opened_; }
    HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(handle_); }

private:
    HMIXER handle_ = nullptr;
    bool opened_ = false;
};

// The volume control of the speakers destination line. The control is looked up only on a
// line that was found: asked for line 0 instead, a mixer without speakers (a recording device)
// answers with the volume of a line of its own.
bool FindSpeakersVolume(const OpenMixer& mixer, std::uint32_t& controlId) {
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerFunctions->getLineInfo(mixer.Object(), &line,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof(control);
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    if (mixerFunctions->getLineControls(mixer.Object(), &controls,
                                        MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    controlId = control.dwControlID;
    return true;
}

// One value for the control, which the mixer applies to all of its channels alike.
MIXERCONTROLDETAILS VolumeDetails(std::uint32_t controlId, MIXERCONTROLDETAILS_UNSIGNED& value) {
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cbDetails = sizeof(value);
    details.paDetails = &value;
    return details;
}

bool ReadVolume(const OpenMixer& mixer, std::uint32_t controlId, std::uint32_t& volume) {
    MIXERCONTROLDETAILS_UNSIGNED value = {};
    MIXERCONTROLDETAILS details = VolumeDetails(controlId, value);
    if (mixerFunctions->getControlDetails(mixer.Object(), &details,
                                          MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    volume = value.dwValue;
    return true;
}

void WriteVolume(const OpenMixer& mixer, std::uint32_t controlId, std::uint32_t volume) {
    MIXERCONTROLDETAILS_UNSIGNED value = {};
    value.dwValue = volume;
    MIXERCONTROLDETAILS details = VolumeDetails(controlId, value);
    mixerFunctions->setControlDetails(mixer.Object(), &details,
                                      MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

} // namespace

MixerVolumeSnapshot::MixerVolumeSnapshot()
    : mixerCount(static_cast<std::int32_t>(mixerFunctions->getNumDevs())) {
    for (std::int32_t device = 0; device < MixerSlotsInUse(mixerCount); ++device) {
        const OpenMixer mixer(device);
        volumeFound[device] = mixer.Opened() && FindSpeakersVolume(mixer, controlIds[device]);
    }
}

void* MixerVolumeSnapshot::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size);
}

void MixerVolumeSnapshot::operator delete(void* snapshot) noexcept {
    std::free(snapshot);
}

void MixerVolumeSnapshot::SaveVolumes() {
    for (std::int32_t device = 0; device < MixerSlotsInUse(mixerCount); ++device) {
        if (!volumeFound[device]) {
            continue;
        }
        const OpenMixer mixer(device);
        saved[device] =
            mixer.Opened() && ReadVolume(mixer, controlIds[device], savedValues[device]);
    }
}

void MixerVolumeSnapshot::RestoreVolumes() {
    for (std::int32_t device = 0; device < MixerSlotsInUse(mixerCount); ++device) {
        if (!saved[device]) {
            continue;
        }
        const OpenMixer mixer(device);
        if (mixer.Opened()) {
            const RestoreWrites writes = RestoreWritesFor(savedValues[device]);
            WriteVolume(mixer, controlIds[device], writes.first);
            WriteVolume(mixer, controlIds[device], writes.second);
        }
    }
}
