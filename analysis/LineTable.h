#pragma once
// The X-ray and gamma-ray line tables, built from the installed X-ray data library the first time
// they are asked for (so start-up does not pay for them).
//
// X-ray table: the elements Na (11) to U (92), each with its resolvable K, L and M lines. Close
// transitions a detector cannot separate are merged into one line (Kα = KL2 + KL3, Lα = L3M4 +
// L3M5, ...) at their intensity-weighted energy. The relative intensity of a line is its share
// of the family's strongest line (1.0), from the fluorescence production cross sections at an
// excitation just above the family's highest edge.
//
// γ-ray table: the radionuclides the library holds, each with its X lines (family "X") and its
// γ lines (family "γ"), intensities relative to the strongest line of that family; the emission
// per decay is kept as well.
//
// A line the library does not hold (an element without M lines, a transition of an empty shell)
// is simply absent: nothing is printed and nothing fails.

#include <cstdint>
#include <string>
#include <vector>

namespace qor {

enum class LineFamily : uint8_t { K, L, M, X, Gamma };
enum class TableKind : uint8_t { Xray, Gamma };

// Name of a family as shown in the tables ("K", "L", "M", "X", "γ").
const char* familyName(LineFamily f);

struct SpectralLine {
    int source = 0;            // index into LineTable::sources()
    LineFamily family = LineFamily::K;
    std::string name;          // "Kα", "Lβ1", "γ", ... (UTF-8)
    std::string label;         // "Fe Kα", "137Cs γ 661.66" (UTF-8)
    double energyKeV = 0.0;
    double relative = 0.0;     // within the family, strongest = 1
    double perDecay = 0.0;     // radionuclides: emission per decay; 0 for elements
};

struct LineSource {
    std::string name;          // "Fe", "55Fe"
    int Z = 0;                 // atomic number (radionuclides: of the parent)
    int firstLine = 0;         // the source's lines are lines()[firstLine .. firstLine + lineCount)
    int lineCount = 0;
};

class LineTable {
public:
    // The tables, built once on first use.
    static const LineTable& xray();
    static const LineTable& gamma();
    static const LineTable& of(TableKind kind) {
        return kind == TableKind::Xray ? xray() : gamma();
    }

    TableKind kind() const { return kind_; }
    const std::vector<LineSource>& sources() const { return sources_; }
    const std::vector<SpectralLine>& lines() const { return lines_; }
    // Index of the source named `name` ("Fe", "137Cs"); -1 when there is none.
    int findSource(const std::string& name) const;

    // The lines of source i (empty for an index outside the table), in the order K, L, M (or X,
    // γ), each family from its strongest line down.
    std::vector<SpectralLine> linesOf(int source) const;
    // The lines of source i in family f; empty when the source has no such lines.
    std::vector<SpectralLine> linesOf(int source, LineFamily f) const;
    // Every line within `toleranceKeV` of `energyKeV`, nearest first (empty when none is).
    std::vector<SpectralLine> linesNear(double energyKeV, double toleranceKeV) const;

    // Line indices sorted by energy (for searches by energy).
    const std::vector<int>& byEnergy() const { return byEnergy_; }

    // Builds a table from explicit sources and lines (used by the two library tables).
    LineTable(TableKind kind, std::vector<LineSource> sources, std::vector<SpectralLine> lines);

private:
    TableKind kind_;
    std::vector<LineSource> sources_;
    std::vector<SpectralLine> lines_;
    std::vector<int> byEnergy_;
};

// The lines of element Z read from the data library (what the X-ray table holds for it; their
// `source` is 0). Empty for a Z the library does not know.
std::vector<SpectralLine> elementLinesFromLibrary(int Z);

// Element symbol of atomic number Z from the data library ("" when it has none).
std::string elementSymbol(int Z);

}  // namespace qor
