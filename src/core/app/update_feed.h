#pragma once
// Reading a release feed: an RSS document in the appcast style, one <item> per release. Each
// item names its version (a <version> element or a version attribute on its <enclosure>), an
// optional display version (<shortVersionString>) and the release page (<link>). Elements are
// matched by local name, whatever namespace prefix the feed uses.
//
// The feed is only ever read: nothing it points at is downloaded or run. The release page is
// what the user is sent to.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

struct FeedRelease {
    QString version;         // compared with the running version
    QString displayVersion;  // shown to the user; the version when the feed gives none
    QString title;
    QUrl releasePage;  // the item's link, else the channel's link
};

struct FeedReadResult {
    std::optional<FeedRelease> newest;  // the release with the highest version
    QString error;                      // why the feed could not be used; empty when it could
};

// The newest release listed in a feed. Items without a usable version are passed over; a feed
// that is not well-formed XML, or lists no usable release, gives an error.
FeedReadResult readReleaseFeed(const QByteArray& xml);

// Compares two version texts part by part as numbers ("1.10" is above "1.9"; "1.2" equals
// "1.2.0"). A text that starts with no number has no order: such a comparison gives nothing.
std::optional<int> compareVersions(const QString& a, const QString& b);
