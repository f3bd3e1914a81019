#include "files/opened_design.h"

#include "catalogue/models.h"
#include "catalogue/texts.h"

#include <QFileInfo>

namespace files {

FileResult openDesign(int m, const QString& path, OpenedDesign& opened)
{
    opened = OpenedDesign{};
    if (!cat::isModelIndex(m))
        return {false, QStringLiteral("No such model")};
    state::ModelDesign& design = opened.design;
    state::clearAreas(design, m);
    state::setDefaultLetters(design, m);
    design.fileName = cat::kUntitled;
    if (FileResult read = readDesignRecord(m, design, path); !read)
        return read;
    design.fileName = QFileInfo(path).fileName().toStdString();
    design.filePath = path.toStdString();
    design.saved = true;
    opened.plan = state::planRebuild(m, design);
    state::applyNamesAndCodes(opened.plan, design);
    design.currentColour = 0; // Open leaves no colour chosen
    return {};
}

} // namespace files
