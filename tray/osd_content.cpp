#include "tray/osd_content.h"

#include "tray/bounded_text.h"
#include "unit/command_code.h"

namespace {

OsdContent Words(const char* caption, const char* value) {
    OsdContent content = {};
    CopyText(content.caption, caption);
    CopyText(content.value, value);
    content.barVolume = OsdNoBar;
    return content;
}

OsdContent Standby() {
    OsdContent content = Words("", "STANDBY");
    content.tone = OsdTone::Standby;
    return content;
}

OsdContent Volume(std::int32_t volume) {
    OsdContent content = Words("VOLUME", "");
    FormatText(content.value, "%d", static_cast<int>(volume));
    content.barVolume = volume;
    return content;
}

// The track that a play or stop acts on, where the unit said which: the status byte that holds
// it is the tuner's preset while another source plays.
OsdContent CdKey(const char* word, const UnitStatus* before) {
    OsdContent content = Words("CD", word);
    if (before != nullptr && before->source == SourceCd && before->discPresent &&
        before->track > 0) {
        FormatText(content.detail, "TRACK %02d", static_cast<int>(before->track));
    }
    return content;
}

} // namespace

OsdContent DescribeOsd(std::uint32_t sent, const UnitStatus* before) {
    // While off the unit listens only for PowerOn: what it was sent meanwhile did nothing.
    if (before != nullptr && !before->powerOn && sent != PowerOn) {
        return Standby();
    }
    if (CommandFamilyOf(sent) == SetVolume) {
        const std::int32_t volume = static_cast<std::int32_t>(CommandNumberOf(sent));
        return volume <= MaxVolume ? Volume(volume) : OsdContent{};
    }
    switch (sent) {
    case PowerOn: return Words("", "POWER ON");
    case PowerOff: return Standby();
    case CdPlayPause: return CdKey("PLAY", before);
    case CdStop: return CdKey("STOP", before);
    case CdPrev: return CdKey("PREV", nullptr);
    case CdNext: return CdKey("NEXT", nullptr);
    default: return OsdContent{};
    }
}

// Muting keeps the volume, which the bar still shows, in the mute colour.
OsdContent DescribeMute(const UnitStatus& after) {
    if (!after.powerOn) {
        return Standby();
    }
    if (!after.muted) {
        return Volume(after.volume);
    }
    OsdContent content = Words("VOLUME", "MUTE");
    content.barVolume = after.volume;
    content.tone = OsdTone::Muted;
    return content;
}

void OsdText(const OsdContent& content, char (&text)[OsdTextSize]) {
    text[0] = '\0';
    const char* const words[] = {content.caption, content.value, content.detail};
    for (const char* word : words) {
        if (word[0] != '\0') {
            AppendText(text, text[0] != '\0' ? " %s" : "%s", word);
        }
    }
}
