#include "app/canvas/report_fonts.h"

#include <array>
#include <cmath>

namespace orb {

namespace {

struct FaceMapping {
    std::array<std::string_view, 4> names;  // the names a report may use
    std::array<const char*, 3> families;    // installed faces, best first
    double ascent;                          // of the named face, in ems
};

// The Chinese office faces have an em of 256 units with an ascent of 220;
// Times New Roman has a Windows ascent of 1825 of 2048. A Ming face stands
// in for FangSong: the free FangSong faces lack the simplified characters.
const std::array<FaceMapping, 3> kFaces = {{
    {{"楷体_GB2312", "楷体", "KaiTi_GB2312", "KaiTi"},
     {"AR PL UKai CN", "AR PL KaitiM GB", "Noto Serif CJK SC"},
     220.0 / 256.0},
    {{"仿宋", "仿宋_GB2312", "FangSong", "FangSong_GB2312"},
     {"AR PL UMing CN", "AR PL SungtiL GB", "Noto Serif CJK SC"},
     220.0 / 256.0},
    {{"Times New Roman", "", "", ""}, {"Liberation Serif", "Tinos", "DejaVu Serif"}, 1825.0 / 2048.0},
}};

const FaceMapping* Find(std::string_view face) {
    for (const FaceMapping& m : kFaces) {
        for (std::string_view name : m.names) {
            if (!name.empty() && name == face) return &m;
        }
    }
    return nullptr;
}

}  // namespace

QStringList ReportFontFamilies(std::string_view face) {
    if (const FaceMapping* m = Find(face)) {
        QStringList out;
        for (const char* f : m->families) out << QString::fromLatin1(f);
        return out;
    }
    return {QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()))};
}

double ReportFaceAscent(std::string_view face) {
    const FaceMapping* m = Find(face);
    return m ? m->ascent : 0.0;
}

QFont ReportFont(std::string_view face, int tenthsOfPoint, double dotsPerInch) {
    QFont font;
    font.setFamilies(ReportFontFamilies(face));
    font.setStyleHint(QFont::Serif);
    const int pixels = static_cast<int>(std::lround(tenthsOfPoint * dotsPerInch / 720.0));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    // Outlines at their true size: the layout positions are fixed, and
    // hinting would change the text widths between preview and paper.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace orb
