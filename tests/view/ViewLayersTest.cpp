// The include rules inside view/: each kind of viewer sees only itself and what the
// viewers share; the window sees them all. Checked on small source trees of our own.
#include "common/RunTool.h"
#include "common/TempTree.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct LayerCheck {
    int exitCode = -1;
    QString output;
};

/// Runs the layer check over a tree holding `files` (path -> the one header it includes).
LayerCheck checkTree(const std::vector<std::pair<QString, QString>>& files)
{
    TempTree tree;
    for (const auto& [path, included] : files) {
        QByteArray text;
        if (!included.isEmpty())
            text = "#include \"" + included.toUtf8() + "\"\n";
        tree.file(path, text);
    }
    const ToolRun check = RunTool(QStringLiteral("python3"),
                                  {QStringLiteral(LUMARA_LAYER_CHECK), tree.root()}, {}, 60000);
    return {check.exitCode.value_or(-1), QString::fromUtf8(check.output)};
}

TEST(ViewLayers, AViewerSeesOnlyItsOwnKindAndWhatTheViewersShare)
{
    const QString shared = QStringLiteral("view/ViewerHost.h");
    const LayerCheck fine = checkTree({
        {shared, {}},
        {QStringLiteral("view/table/TableViews.h"), {}},
        {QStringLiteral("view/picture/gui/PictureView.h"), shared},
        {QStringLiteral("view/picture/gui/ThumbnailView.cpp"),
         QStringLiteral("view/picture/gui/PictureView.h")},
        {QStringLiteral("view/window/gui/ViewWindow.cpp"),
         QStringLiteral("view/table/TableViews.h")},
        {QStringLiteral("view/window/gui/ViewWindow.h"), shared},
    });
    EXPECT_EQ(fine.exitCode, 0) << fine.output.toStdString();

    // Sideways between two kinds, and upwards to the window, in logic and widgets alike.
    for (const auto& [file, included] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("view/picture/gui/PictureView.cpp"),
              QStringLiteral("view/table/TableViews.h")},
             {QStringLiteral("view/media/SoundPlayback.cpp"),
              QStringLiteral("view/picture/PictureFile.h")},
             {QStringLiteral("view/fonts/gui/IconFontViews.cpp"),
              QStringLiteral("view/window/gui/ViewWindow.h")},
             {QStringLiteral("view/ViewerHost.cpp"), QStringLiteral("view/text/TextSlices.h")},
         }) {
        const LayerCheck wrong = checkTree({{file, included}, {included, {}}});
        EXPECT_EQ(wrong.exitCode, 1) << file.toStdString();
        EXPECT_TRUE(wrong.output.contains(file + QStringLiteral(": ")))
            << wrong.output.toStdString();
    }
}

} // namespace
