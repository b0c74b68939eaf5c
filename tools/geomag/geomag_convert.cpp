// orb-geomag-convert: turns the published coefficient files of the World
// Magnetic Model (WMM.COF layout) and of the IGRF (igrfNNcoeffs.txt layout)
// into the model files the magnetic-field library reads: NAME.wmm (text
// metadata) and NAME.wmm.cof (little-endian binary coefficients).
//
//   orb-geomag-convert wmm  WMM2025.COF       OUTDIR NAME
//   orb-geomag-convert igrf igrf14coeffs.txt  OUTDIR NAME
//
// Each coefficient set is written as int32 N, int32 M, then the cosine terms
// (g) column by column in m (n = m..N), then the sine terms (h) from m = 1.
// The last set is the secular variation per year.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

static_assert(std::endian::native == std::endian::little, "the coefficient file is little-endian");

constexpr double kReferenceRadius = 6371200.0;  // metres, the geomagnetic reference sphere

// Gauss coefficients of degree and order up to n.
struct CoefficientSet {
    int degree = 0;
    std::vector<double> g, h;  // indexed [n * (n + 1) / 2 + m]

    explicit CoefficientSet(int n) : degree(n), g(Size(n), 0.0), h(Size(n), 0.0) {}
    static std::size_t Size(int n) { return static_cast<std::size_t>((n + 1) * (n + 2) / 2); }
    static std::size_t Index(int n, int m) { return static_cast<std::size_t>(n * (n + 1) / 2 + m); }
    bool Holds(int n, int m) const { return n >= 1 && n <= degree && m >= 0 && m <= n; }
};

struct Model {
    std::string name, description, id;
    double epoch = 0, deltaEpoch = 1, minTime = 0, maxTime = 0;
    double minHeight = -1000, maxHeight = 850000;
    std::vector<CoefficientSet> sets;  // the models at their epochs, then the rate
};

void WriteSet(std::ofstream& out, const CoefficientSet& s) {
    const int32_t nm[2] = {s.degree, s.degree};
    out.write(reinterpret_cast<const char*>(nm), sizeof nm);
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<double>& v = pass == 0 ? s.g : s.h;
        for (int m = pass; m <= s.degree; ++m)
            for (int n = m; n <= s.degree; ++n) {
                const double c = v[CoefficientSet::Index(n, m)];
                out.write(reinterpret_cast<const char*>(&c), sizeof c);
            }
    }
}

bool WriteModel(const Model& m, const std::string& dir, const std::string& name) {
    const std::string base = dir + "/" + name + ".wmm";
    std::ofstream meta(base);
    meta.precision(10);
    meta << "WMMF-2\n"
         << "Name " << name << "\nDescription " << m.description << "\nRadius " << kReferenceRadius
         << "\nType Linear\nEpoch " << m.epoch << "\nDeltaEpoch " << m.deltaEpoch << "\nNumModels "
         << m.sets.size() - 1 << "\nNumConstants 0\nMinTime " << m.minTime << "\nMaxTime " << m.maxTime
         << "\nMinHeight " << m.minHeight << "\nMaxHeight " << m.maxHeight
         << "\nNormalization Schmidt\nByteOrder Little\nID " << m.id << "\n";
    std::ofstream cof(base + ".cof", std::ios::binary);
    cof.write(m.id.data(), 8);
    for (const CoefficientSet& s : m.sets) WriteSet(cof, s);
    meta.close();
    cof.close();
    if (!meta || !cof) {
        std::fprintf(stderr, "orb-geomag-convert: cannot write %s\n", base.c_str());
        return false;
    }
    return true;
}

// WMM.COF: a header "EPOCH NAME DATE", lines "n m g h dg dh", a line of 9s.
bool ReadWmm(std::istream& in, Model& m) {
    std::string line;
    if (!std::getline(in, line)) return false;
    std::istringstream head(line);
    std::string title;
    if (!(head >> m.epoch >> title)) return false;
    m.description = title + " World Magnetic Model";
    m.minTime = m.epoch;
    m.maxTime = m.epoch + 5;
    m.deltaEpoch = 5;
    int degree = 0;
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line) && line.rfind("9999", 0) != 0) {
        std::istringstream r(line);
        double n = 0, mm = 0, g = 0, h = 0, dg = 0, dh = 0;
        if (!(r >> n >> mm >> g >> h >> dg >> dh)) continue;
        rows.push_back({n, mm, g, h, dg, dh});
        degree = std::max(degree, static_cast<int>(n));
    }
    if (degree < 1) return false;
    m.sets.assign(2, CoefficientSet(degree));
    for (const auto& r : rows) {
        const int n = static_cast<int>(r[0]), mm = static_cast<int>(r[1]);
        if (!m.sets[0].Holds(n, mm)) return false;
        const std::size_t k = CoefficientSet::Index(n, mm);
        m.sets[0].g[k] = r[2];
        m.sets[0].h[k] = r[3];
        m.sets[1].g[k] = r[4];
        m.sets[1].h[k] = r[5];
    }
    return true;
}

// igrfNNcoeffs.txt: '#' comments, a line of kinds, a line "g/h n m EPOCH...
// SV", then lines "g|h n m value...". The last column is the rate.
bool ReadIgrf(std::istream& in, Model& m) {
    std::string line;
    std::vector<double> epochs;
    std::vector<std::vector<double>> values;
    std::vector<std::pair<char, std::pair<int, int>>> keys;
    int degree = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("c/s", 0) == 0) continue;
        std::istringstream r(line);
        std::string kind;
        r >> kind;
        if (kind == "g/h") {
            std::string word;
            r >> word >> word;
            // The epochs, then the rate column ("2025-30").
            while (r >> word && word.find('-') == std::string::npos) epochs.push_back(std::stod(word));
            continue;
        }
        int n = 0, mm = 0;
        if ((kind != "g" && kind != "h") || !(r >> n >> mm)) return false;
        std::vector<double> v;
        for (double x = 0; r >> x;) v.push_back(x);
        if (epochs.empty() || v.size() != epochs.size() + 1) return false;
        keys.push_back({kind[0], {n, mm}});
        values.push_back(std::move(v));
        degree = std::max(degree, n);
    }
    if (epochs.size() < 2 || degree < 1) return false;
    m.epoch = epochs.front();
    m.deltaEpoch = epochs[1] - epochs[0];
    m.minTime = epochs.front();
    m.maxTime = epochs.back() + m.deltaEpoch;
    m.maxHeight = 600000;
    m.description = "International Geomagnetic Reference Field";
    m.sets.assign(epochs.size() + 1, CoefficientSet(degree));
    for (std::size_t row = 0; row < keys.size(); ++row) {
        const auto [kind, nm] = keys[row];
        if (!m.sets[0].Holds(nm.first, nm.second)) return false;
        const std::size_t k = CoefficientSet::Index(nm.first, nm.second);
        for (std::size_t s = 0; s < m.sets.size(); ++s)
            (kind == 'g' ? m.sets[s].g : m.sets[s].h)[k] = values[row][s];
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: orb-geomag-convert wmm|igrf INPUT OUTDIR NAME\n");
        return 2;
    }
    const std::string kind = argv[1], name = argv[4];
    std::ifstream in(argv[2]);
    Model m;
    const bool ok = in && (kind == "wmm" ? ReadWmm(in, m) : kind == "igrf" && ReadIgrf(in, m));
    if (!ok) {
        std::fprintf(stderr, "orb-geomag-convert: %s is not a %s coefficient file\n", argv[2], kind.c_str());
        return 1;
    }
    // The identifier is eight characters and ties the two files together.
    m.id = (name + "--------").substr(0, 8);
    return WriteModel(m, argv[3], name) ? 0 : 1;
}
