// The CSV column sheet's state: what opening, Done, Reset, removing, adding back, dragging and
// loading a preset do to the edited columns and to the bin's list.
#include "interchange/csv_field_map_state.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {
using Fields = CSVFieldMapState::Fields;

// The sheet over a bin list held here, recording what the callbacks were given.
struct Sheet {
    std::optional<Fields> bin;
    int dismissed = 0;
    QStringList names;
    QList<QPair<QString, Fields>> saved;
    QMap<QString, Fields> stored;  // what onLoad can read
    QStringList deleted;
    CSVFieldMapState state;

    explicit Sheet(std::optional<Fields> fields, QStringList candidates = {"Scene", "Take"})
        : bin(std::move(fields)), state(bindings(), std::move(candidates))
    {
        state.loadInitialState();
    }
    CSVFieldMapState::Bindings bindings()
    {
        CSVFieldMapState::Bindings b;
        b.fields = [this] { return bin; };
        b.setFields = [this](const std::optional<Fields>& f) { bin = f; };
        b.dismiss = [this] { ++dismissed; };
        b.presetNames = [this] { return names; };
        b.onSave = [this](const QString& n, const Fields& f) { saved.append({n, f}); };
        b.onLoad = [this](const QString& n) {
            return stored.contains(n) ? std::optional<Fields>(stored.value(n)) : std::nullopt;
        };
        b.onDelete = [this](const QString& n) { deleted.append(n); };
        return b;
    }
    QStringList keys() const
    {
        QStringList k;
        for (const auto& f : state.included())
            k.append(f.key);
        return k;
    }
};

TEST(CSVFieldMapState, AutomaticOpensWithEveryKeyAndDoneStoresThemExplicitly)
{
    Sheet s(std::nullopt);
    ASSERT_EQ(s.state.included().size(), 17 + 2);
    EXPECT_EQ(s.state.included().first(), (Exporter::CSVFieldMap{"name", "File Name"}));
    EXPECT_EQ(s.state.included().at(16), (Exporter::CSVFieldMap{"fps", "FPS"}));
    EXPECT_EQ(s.state.included().at(18), (Exporter::CSVFieldMap{"custom:Take", "Take"}));
    EXPECT_TRUE(s.state.excludedKeys().isEmpty());

    s.state.saveAndDismiss();
    ASSERT_TRUE(s.bin.has_value());
    EXPECT_EQ(*s.bin, s.state.allKeys());
    EXPECT_EQ(s.dismissed, 1);

    s.state.resetToAutomatic();
    EXPECT_FALSE(s.bin.has_value());
    EXPECT_EQ(s.dismissed, 2);
}

TEST(CSVFieldMapState, RemovingEverythingStoresAnEmptyListNotAutomatic)
{
    Sheet s(Fields{{"name", "Clip"}, {"custom:Scene", "Sc"}});
    EXPECT_EQ(s.keys(), (QStringList{"name", "custom:Scene"}));
    EXPECT_EQ(s.state.excludedKeys().size(), 17 - 1 + 1);  // every other built-in, then Take
    EXPECT_EQ(s.state.excludedKeys().last(), "custom:Take");
    s.state.removeColumn("name");
    s.state.removeColumn("custom:Scene");
    s.state.saveAndDismiss();
    ASSERT_TRUE(s.bin.has_value());
    EXPECT_TRUE(s.bin->isEmpty());
}

TEST(CSVFieldMapState, RemovedKeyGoesLastAndComesBackAtTheEndUnderItsDefaultTitle)
{
    Sheet s(Fields{{"name", "Clip"}, {"title", "T"}, {"custom:Scene", "Sc"}});
    s.state.setHeader(0, "Edited");
    s.state.removeColumn("name");
    EXPECT_EQ(s.state.excludedKeys().last(), "name");
    EXPECT_EQ(s.keys(), (QStringList{"title", "custom:Scene"}));
    s.state.addColumn("name");
    EXPECT_EQ(s.state.included().last(), (Exporter::CSVFieldMap{"name", "File Name"}));
    EXPECT_FALSE(s.state.excludedKeys().contains("name"));
    s.state.addColumn("custom:Take");
    EXPECT_EQ(s.state.included().last(), (Exporter::CSVFieldMap{"custom:Take", "Take"}));
}

TEST(CSVFieldMapState, DefaultTitles)
{
    EXPECT_EQ(CSVFieldMapState::defaultTitle("custom:Sound Roll"), "Sound Roll");
    EXPECT_EQ(CSVFieldMapState::defaultTitle("name"), "File Name");
    EXPECT_EQ(CSVFieldMapState::defaultTitle("fps"), "FPS");
    EXPECT_EQ(CSVFieldMapState::defaultTitle("mystery"), "mystery");
}

TEST(CSVFieldMapState, DragsMoveColumnsToTheOffsetBeforeTheMove)
{
    const struct {
        QList<int> from;
        int to;
        const char* expected;
    } cases[] = {
        {{0}, 3, "BCAD"}, {{0}, 4, "BCDA"},    {{3}, 0, "DABC"},    {{1}, 1, "ABCD"},
        {{1}, 2, "ABCD"}, {{0, 2}, 4, "BDAC"}, {{3, 1}, 0, "BDAC"},
    };
    for (const auto& c : cases) {
        Sheet s(Fields{{"A", "a"}, {"B", "b"}, {"C", "c"}, {"D", "d"}});
        s.state.moveColumns(c.from, c.to);
        EXPECT_EQ(s.keys().join(""), c.expected) << c.to;
    }
}

TEST(CSVFieldMapState, PresetsLoadWholeListsAndSaveOnlyUnderAName)
{
    Sheet s(std::nullopt);
    s.stored.insert("mine", Fields{{"custom:Old Column", "Old"}, {"name", "Clip"}});
    s.state.loadPresetNamed("mine");
    EXPECT_EQ(s.keys(), (QStringList{"custom:Old Column", "name"}));  // unknown keys stay
    ASSERT_EQ(s.state.excludedKeys().size(), 16 + 2);
    EXPECT_EQ(s.state.excludedKeys().first(), "clipName");

    s.state.loadPresetNamed("gone");  // cannot be read: nothing changes
    EXPECT_EQ(s.keys(), (QStringList{"custom:Old Column", "name"}));
    EXPECT_FALSE(s.bin.has_value());  // presets never touch the bin's list

    s.state.savePreset(std::nullopt);
    s.state.savePreset(QString());
    EXPECT_TRUE(s.saved.isEmpty());
    s.state.savePreset(QString("day 2"));
    ASSERT_EQ(s.saved.size(), 1);
    EXPECT_EQ(s.saved[0].first, "day 2");
    EXPECT_EQ(s.saved[0].second, s.state.included());

    s.state.deletePreset("mine");
    EXPECT_EQ(s.deleted, QStringList{"mine"});
    EXPECT_EQ(s.dismissed, 0);
}

}  // namespace
