#include "model/preset_bundle.h"

#include "platform/json_util.h"

QByteArray PresetBundle::encode() const
{
    QJsonObject map;
    for (auto it = presets.begin(); it != presets.end(); ++it)
        map.insert(it.key(), it.value().toJson());
    const QJsonObject root{{"format", format}, {"version", version}, {"presets", map}};
    return Json::sortedPretty(root);
}

std::optional<PresetBundle> PresetBundle::decode(const QByteArray& data)
{
    const auto root = Json::parseObject(data);
    if (!root)
        return std::nullopt;
    const QJsonValue format = root->value("format");
    const QJsonValue version = root->value("version");
    const QJsonValue presets = root->value("presets");
    const auto v = Json::wholeInt(version);
    if (!format.isString() || !v || !presets.isObject())
        return std::nullopt;
    PresetBundle bundle;
    bundle.format = format.toString();
    bundle.version = *v;
    const QJsonObject map = presets.toObject();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (!it.value().isObject())
            return std::nullopt;
        auto preset = GUIPreset::fromJson(it.value().toObject());
        if (!preset)
            return std::nullopt;
        bundle.presets.insert(it.key(), *preset);
    }
    return bundle;
}
