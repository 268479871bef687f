#include "DesignChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halovane {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

int VariedIndex(const Scenario& s, const std::string& name) {
    for (size_t k = 0; k < s.varied.size(); ++k)
        if (s.varied[k].name == name) return static_cast<int>(k);
    return -1;
}

std::vector<double> SortedValues(const std::vector<double>& values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

bool LowerIsBetter(const Scenario& s, const std::string& metric) {
    for (const Criterion& c : s.criteria)
        if (c.metric == metric) return c.op == CriterionOp::AtMost || c.op == CriterionOp::Below;
    return true;
}

}  // namespace

std::string ChartMetric(const Scenario& s) {
    if (!s.chartMetric.empty()) return s.chartMetric;
    if (!s.criteria.empty()) return s.criteria.front().metric;
    return "max_root_zone_salinity";
}

bool BuildHeatMap(const Scenario& s, const std::vector<SweepRow>& rows, HeatMap& map, std::string& why) {
    if (s.varied.empty()) {
        why = "the scenario varies nothing to chart";
        return false;
    }
    const int ix = s.chartX.empty() ? 0 : VariedIndex(s, s.chartX);
    int iy = s.chartY.empty() ? (s.varied.size() > 1 ? (ix == 0 ? 1 : 0) : -1) : VariedIndex(s, s.chartY);
    if (ix < 0 || ix == iy) {
        why = "the chart needs two different varied names";
        return false;
    }
    map = HeatMap{};
    map.metric = ChartMetric(s);
    const int metric = MetricIndex(map.metric);
    map.unit = AllMetrics()[static_cast<size_t>(metric)].unit;
    map.x = s.varied[static_cast<size_t>(ix)].name;
    map.xs = SortedValues(s.varied[static_cast<size_t>(ix)].values);
    if (iy >= 0) {
        map.y = s.varied[static_cast<size_t>(iy)].name;
        map.ys = SortedValues(s.varied[static_cast<size_t>(iy)].values);
    } else {
        map.ys = {0};
    }
    map.criteria = !s.criteria.empty();
    map.value.assign(map.xs.size() * map.ys.size(), NaN);
    map.pass.assign(map.value.size(), false);
    const bool lower = LowerIsBetter(s, map.metric);
    for (const SweepRow& row : rows) {
        const double x = row.values[static_cast<size_t>(ix)];
        const double y = iy >= 0 ? row.values[static_cast<size_t>(iy)] : 0;
        if (std::isnan(x) || std::isnan(y) || row.metrics.empty()) continue;
        const size_t cx = static_cast<size_t>(std::lower_bound(map.xs.begin(), map.xs.end(), x) - map.xs.begin());
        const size_t cy = static_cast<size_t>(std::lower_bound(map.ys.begin(), map.ys.end(), y) - map.ys.begin());
        const size_t cell = cy * map.xs.size() + cx;
        const double v = row.metrics[static_cast<size_t>(metric)];
        double& shown = map.value[cell];
        if (std::isnan(shown) || (lower ? v < shown : v > shown)) shown = v;
        if (!row.pass.empty() && std::all_of(row.pass.begin(), row.pass.end(), [](bool p) { return p; }))
            map.pass[cell] = true;
    }
    bool any = false;
    for (double v : map.value) {
        if (std::isnan(v)) continue;
        map.low = any ? std::min(map.low, v) : v;
        map.high = any ? std::max(map.high, v) : v;
        any = true;
    }
    if (!any) {
        why = "no run gave a value of " + map.metric;
        return false;
    }
    return true;
}

bool BuildTornado(const Scenario& s, const std::vector<SweepRow>& rows, Tornado& tornado, std::string& why) {
    tornado = Tornado{};
    tornado.metric = ChartMetric(s);
    const size_t metric = static_cast<size_t>(MetricIndex(tornado.metric));
    tornado.unit = AllMetrics()[metric].unit;
    if (rows.empty() || rows[0].metrics.empty()) {
        why = "the base run gave no value of " + tornado.metric;
        return false;
    }
    tornado.base = rows[0].metrics[metric];
    for (size_t k = 0; k < s.varied.size(); ++k) {
        TornadoBar bar;
        bar.name = s.varied[k].name;
        bool any = false;
        for (const SweepRow& row : rows) {
            if (std::isnan(row.values[k]) || row.metrics.empty()) continue;
            const double v = row.metrics[metric];
            if (!any || v < bar.low) bar.low = v, bar.lowValue = row.values[k];
            if (!any || v > bar.high) bar.high = v, bar.highValue = row.values[k];
            any = true;
        }
        if (any) tornado.bars.push_back(bar);
    }
    std::stable_sort(tornado.bars.begin(), tornado.bars.end(),
                     [](const TornadoBar& a, const TornadoBar& b) { return a.high - a.low > b.high - b.low; });
    return true;
}

}  // namespace halovane
