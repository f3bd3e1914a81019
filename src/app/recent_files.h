#pragma once

#include <QString>
#include <QStringList>

namespace app {

// How many design files File > Open Recent offers.
inline constexpr int kRecentFileCount = 10;

// The recent list after `path` was opened or saved: it comes first, once
// (the same file under another spelling of its path counts as the same),
// and the list keeps the newest kRecentFileCount.
QStringList withRecentFile(const QStringList& recent, const QString& path);
// The list without `path`.
QStringList withoutRecentFile(const QStringList& recent, const QString& path);

// An entry of the menu: its number (1-9 and 0 get a key), the file's name and
// its model's name, as in "&1 suit.brr (Brisa)"; a file whose extension
// belongs to no model shows its name alone.
QString recentFileCaption(int position, const QString& path);

} // namespace app
