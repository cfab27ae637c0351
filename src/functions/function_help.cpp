#include "functions/function_help.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<std::string_view, kCategoryCount> kCategories = {
    "String",
    "Math",
    "Trig",
    "Date & Time",
    "Financial",
    "Misc",
    "Matrix Algebra",
    "Coordinate Geometry",
    "Graphics",
    "Road Layout",
    "Table",
    "Statistics:  Summary",
    "Statistics:  C.I.",
    "Statistics:  Distributions",
    "Statistics:  Regression",
    "Statistics:  ANOVA",
};

// Which part of a family a category shows.
enum class Part { Whole, ConfidenceIntervals, NotConfidenceIntervals, Anova, NotAnova };

struct CategorySource {
    FamilyId family;
    FamilyId second;  // same as `family` when the category has one family
    Part part;
};

constexpr std::array<CategorySource, kCategoryCount> kSources = {{
    {FamilyId::String, FamilyId::StringCopy, Part::Whole},
    {FamilyId::Math, FamilyId::Math, Part::Whole},
    {FamilyId::Trig, FamilyId::Trig, Part::Whole},
    {FamilyId::Date, FamilyId::Date, Part::Whole},
    {FamilyId::Finance, FamilyId::Finance, Part::Whole},
    {FamilyId::CellInfo, FamilyId::CellInfo, Part::Whole},
    {FamilyId::Matrix, FamilyId::Matrix, Part::Whole},
    {FamilyId::Geometry, FamilyId::Geometry, Part::Whole},
    {FamilyId::Graphics, FamilyId::Graphics, Part::Whole},
    {FamilyId::Road, FamilyId::Road, Part::Whole},
    {FamilyId::Tables, FamilyId::Tables, Part::Whole},
    {FamilyId::Summary, FamilyId::Summary, Part::NotConfidenceIntervals},
    {FamilyId::Summary, FamilyId::Summary, Part::ConfidenceIntervals},
    {FamilyId::Distributions, FamilyId::Distributions, Part::Whole},
    {FamilyId::Regression, FamilyId::Regression, Part::NotAnova},
    {FamilyId::Regression, FamilyId::Regression, Part::Anova},
}};

// The analysis-of-variance sums and squares of the regression family.
constexpr std::array<std::string_view, 7> kAnovaNames = {"FTS", "MSE", "MSR", "MSY", "SSE", "SSR", "SSY"};

bool isAnova(std::string_view name) {
    for (std::string_view n : kAnovaNames) {
        if (n == name) return true;
    }
    return false;
}

bool shown(Part part, std::string_view name) {
    const bool interval = name.starts_with("CI");
    switch (part) {
        case Part::ConfidenceIntervals:
            return interval;
        case Part::NotConfidenceIntervals:
            return !interval;
        case Part::Anova:
            return isAnova(name);
        case Part::NotAnova:
            return !isAnova(name);
        default:
            return true;
    }
}

void collect(const FunctionRegistry& registry, FamilyId family, Part part, std::vector<const FunctionEntry*>& out) {
    for (const FunctionEntry& e : registry.family(family)) {
        if (shown(part, e.name)) out.push_back(&e);
    }
}

}  // namespace

std::span<const std::string_view> functionCategories() {
    return kCategories;
}

int categoryNumber(std::string_view text) {
    for (std::size_t i = 0; i < kCategories.size(); ++i) {
        if (kCategories[i] == text) return static_cast<int>(i) + 1;
    }
    if (text.empty() || text.size() > 2) return 0;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= kCategoryCount ? n : 0;
}

std::vector<const FunctionEntry*> categoryFunctions(const FunctionRegistry& registry, int category) {
    std::vector<const FunctionEntry*> out;
    if (category < 1 || category > kCategoryCount) return out;
    const CategorySource& s = kSources[static_cast<std::size_t>(category - 1)];
    collect(registry, s.family, s.part, out);
    if (s.second != s.family) collect(registry, s.second, s.part, out);
    return out;
}

std::string insertionText(std::string_view callTemplate) {
    std::string out;
    for (char c : callTemplate) {
        if (c == ' ') continue;
        out += c;
        if (c == ')') break;
    }
    return out;
}

}  // namespace qx
