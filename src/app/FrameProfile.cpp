#include "app/FrameProfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace orvane {

double Percentile(std::vector<double> values, double q) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const double rank = std::ceil(std::clamp(q, 0.0, 1.0) * static_cast<double>(values.size()));
  const size_t index = rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1;
  return values[std::min(index, values.size() - 1)];
}

void FrameProfile::AddFrame(std::map<std::string, Series>& table,
                            const std::map<std::string, std::pair<double, int>>& frame, int64_t framesBefore) {
  for (const auto& [label, sample] : frame) {
    Series& series = table[label];
    // A label first seen now took no time in the frames before.
    series.perFrameMs.resize(static_cast<size_t>(framesBefore), 0.0);
    series.perFrameMs.push_back(sample.first);
    series.calls += sample.second;
    series.totalMs += sample.first;
  }
  for (auto& [label, series] : table) series.perFrameMs.resize(static_cast<size_t>(framesBefore) + 1, 0.0);
}

void FrameProfile::AddGpuFrame(const GpuFrameTiming& timing) {
  std::map<std::string, std::pair<double, int>> frame;
  for (const auto& [label, ms] : timing.labels) {
    auto& sample = frame[label];
    sample.first += ms;
    ++sample.second;
  }
  AddFrame(gpu_, frame, gpuFrames_);
  gpuFrameMs_.push_back(timing.totalMs);
  gpuMeasured_ = gpuMeasured_ && timing.measured;
  ++gpuFrames_;
}

void FrameProfile::BeginPhase(const char* name) {
  const Clock::time_point now = Clock::now();
  if (!phase_.empty()) {
    auto& sample = cpuFrame_[phase_];
    sample.first += std::chrono::duration<double, std::milli>(now - phaseStart_).count();
    ++sample.second;
  }
  phase_ = name ? name : "";
  phaseStart_ = now;
}

void FrameProfile::EndCpuFrame() {
  BeginPhase(nullptr);
  double total = 0.0;
  for (const auto& [label, sample] : cpuFrame_) total += sample.first;
  AddFrame(cpu_, cpuFrame_, cpuFrames_);
  cpuFrameMs_.push_back(total);
  cpuFrame_.clear();
  ++cpuFrames_;
}

namespace {

struct Row {
  std::string label;
  std::string values[4];
  double total = 0.0;
};

std::string Fixed(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", digits, value);
  return text;
}

std::vector<Row> RowsOf(const std::map<std::string, FrameProfile::Series>& table, int64_t frames,
                        const std::vector<double>& frameTotals, bool measured) {
  const double all = std::accumulate(frameTotals.begin(), frameTotals.end(), 0.0);
  const double perFrame = frames > 0 ? 1.0 / static_cast<double>(frames) : 0.0;
  std::vector<Row> rows;
  for (const auto& [label, series] : table) {
    Row row;
    row.label = label;
    row.total = series.totalMs;
    row.values[0] = Fixed(static_cast<double>(series.calls) * perFrame, 2);
    if (measured) {
      row.values[1] = Fixed(series.totalMs * perFrame, 3);
      row.values[2] = Fixed(Percentile(series.perFrameMs, 0.95), 3);
      row.values[3] = Fixed(all > 0.0 ? 100.0 * series.totalMs / all : 0.0, 1);
    } else {
      row.values[1] = row.values[2] = row.values[3] = "n/a";
    }
    rows.push_back(std::move(row));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.total > b.total; });
  return rows;
}

}  // namespace

std::string FrameProfile::Table() const {
  std::vector<Row> rows = RowsOf(gpu_, gpuFrames_, gpuFrameMs_, gpuMeasured_);
  const std::vector<Row> cpuRows = RowsOf(cpu_, cpuFrames_, cpuFrameMs_, true);
  rows.insert(rows.end(), cpuRows.begin(), cpuRows.end());
  const std::string header[5] = {"label", "calls/frame", "mean_ms", "p95_ms", "share_%"};
  size_t widths[5];
  for (size_t column = 0; column < 5; ++column) widths[column] = header[column].size();
  for (const Row& row : rows) {
    widths[0] = std::max(widths[0], row.label.size());
    for (size_t column = 0; column < 4; ++column) widths[column + 1] = std::max(widths[column + 1], row.values[column].size());
  }
  std::string text;
  const auto line = [&](const std::string& label, const std::string* values) {
    text += label + std::string(widths[0] - label.size() + 2, ' ');
    for (size_t column = 0; column < 4; ++column) {
      // Numbers align right; two spaces always separate the columns.
      text += std::string(widths[column + 1] - values[column].size(), ' ') + values[column];
      text += column + 1 < 4 ? "  " : "\n";
    }
  };
  line(header[0], header + 1);
  for (const Row& row : rows) line(row.label, row.values);
  return text;
}

}  // namespace orvane
