#pragma once
// The file that carries every saved rule preset from one machine to another.
#include "model/gui_preset.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

struct PresetBundle {
    static constexpr const char* formatName = "BrindlecovePresets";

    QString format = QString::fromLatin1(formatName);
    int version = 1;
    QMap<QString, GUIPreset> presets;

    // Pretty-printed with keys sorted at every level.
    QByteArray encode() const;
    // All three keys are required and every preset must decode; the format text is not checked.
    static std::optional<PresetBundle> decode(const QByteArray& data);
};
