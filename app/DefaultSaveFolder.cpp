#include "app/DefaultSaveFolder.h"

#include "app/InfoRecord.h"
#include "app/TextCodec.h"

#include <QFileInfo>

namespace qor {

namespace {
QString withSeparator(const QString& dir) {
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/'))) return dir;
    return dir + QLatin1Char('/');
}
}  // namespace

bool folderStorable(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    char field[sizeof(InfoRecord::SaveFolder)];
    if (!storeSjis(field, folder)) return false;   // cut: too long
    return fromSjis(field) == folder;              // a character without a code-page-932 form
}

SaveFolderChoice chooseDefaultSaveFolder(const QString& startDir, const QString& homeDir) {
    const QString start = withSeparator(startDir);
    if (folderStorable(start)) return {start, QString()};
    const QString home = withSeparator(homeDir);
    if (folderStorable(home))
        return {home, QStringLiteral("保存フォルダ: 開始フォルダ名を情報ファイルに記録できないため、"
                                     "ホームフォルダ %1 にしました").arg(home)};
    return {QString(), QStringLiteral("保存フォルダ: 開始フォルダ名もホームフォルダ名も情報ファイルに"
                                      "記録できないため空のままです。保存フォルダを入力してください")};
}

}  // namespace qor
