// The engine as the Python extension module halovane._core: the data set
// with the fields of the one table of fields as attributes, the check, the
// run (without the interpreter's lock, stopped by Ctrl+C) with its results
// as columns, and the scenario runs. The package's Python part (halovane/__init__.py) turns
// refusals into exceptions and tables into pandas DataFrames.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Balance.h"
#include "Fields.h"
#include "FitReport.h"
#include "FitReportFiles.h"
#include "HalovaneVersion.h"
#include "InputFile.h"
#include "ModelState.h"
#include "ResultsCsv.h"
#include "RunDriver.h"
#include "RunStop.h"
#include "Scenario.h"
#include "Validation.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace halovane {
namespace {

// ------------------------------------------------------------------ tables

// The cells of a comma-separated text as the engine writes it: fields
// quoted with doubled quotes where they hold a comma or a quote, CR LF or
// LF line ends. The cells point into the text, or for a quoted cell into
// `unquoted`.
struct CsvCells {
    std::vector<std::vector<std::string_view>> rows;
    std::deque<std::string> unquoted;
};

CsvCells ReadCsv(const std::string& text) {
    CsvCells csv;
    std::vector<std::string_view> row;
    size_t k = 0;
    while (k < text.size()) {
        if (text[k] == '"') {
            std::string cell;
            for (++k; k < text.size(); ++k) {
                if (text[k] != '"')
                    cell += text[k];
                else if (k + 1 < text.size() && text[k + 1] == '"')
                    cell += text[++k];
                else
                    break;
            }
            ++k;
            csv.unquoted.push_back(std::move(cell));
            row.emplace_back(csv.unquoted.back());
        } else {
            const size_t end = text.find_first_of(",\r\n", k);
            row.emplace_back(text.data() + k, (end == std::string::npos ? text.size() : end) - k);
            k = end == std::string::npos ? text.size() : end;
        }
        if (k < text.size() && text[k] == '\r') ++k;
        if (k >= text.size() || text[k] == '\n') {
            csv.rows.push_back(std::move(row));
            row.clear();
        }
        ++k;  // past the comma or the line end
    }
    return csv;
}

// A cell as a number: the whole text read exactly (the files write the
// shortest text that reads back to the value), whatever the C locale.
bool CellNumber(std::string_view cell, double& value) {
    const char* end = cell.data() + cell.size();
    const auto result = std::from_chars(cell.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// The columns of a table, in the order of its header: float64 arrays where
// every cell is a number or empty (NaN), arrays of texts otherwise.
py::dict Columns(const std::string& text) {
    const CsvCells csv = ReadCsv(text);
    py::dict columns;
    if (csv.rows.empty()) return columns;
    const std::vector<std::vector<std::string_view>>& rows = csv.rows;
    const size_t n = rows.size() - 1;
    auto cell = [&rows](size_t r, size_t c) { return c < rows[r].size() ? rows[r][c] : std::string_view(); };
    for (size_t c = 0; c < rows[0].size(); ++c) {
        py::array_t<double> numbers(static_cast<py::ssize_t>(n));
        double* out = numbers.mutable_data();
        bool numeric = true;
        for (size_t r = 0; r < n && numeric; ++r) {
            out[r] = std::numeric_limits<double>::quiet_NaN();
            if (!cell(r + 1, c).empty()) numeric = CellNumber(cell(r + 1, c), out[r]);
        }
        const py::str name(std::string(rows[0][c]));
        if (numeric) {
            columns[name] = numbers;
            continue;
        }
        py::list texts;
        for (size_t r = 0; r < n; ++r) texts.append(py::str(std::string(cell(r + 1, c))));
        columns[name] = py::module_::import("numpy").attr("array")(texts, "dtype"_a = "object");
    }
    return columns;
}

// ------------------------------------------------------------------ data set

struct Data {
    ModelInput in;
};

bool IsMeasured(const Field& f) { return f.group == FieldGroup::Salinity; }

// The number of time steps: the series follow it, keeping their values up
// to the new count; new steps hold no rainfall, irrigation or
// evapotranspiration and no measured salinity.
void SetTimeSteps(ModelInput& in, int n) {
    in.NrTst = n;
    in.NrTstHydr = n;
    ResizeHydrologicalSeries(in, n);
    ResizeMeasuredSeries(in, n, -1);
}

// Series are shown without element 0: one value per time step. A
// measured salinity that is absent (-1) is NaN.
py::array_t<double> SeriesValue(const Field& f, const ModelInput& in) {
    const Series& s = f.SeriesOf(in);
    const int n = std::max(0, std::min(in.NrTst, static_cast<int>(s.size()) - 1));
    py::array_t<double> values(n);
    double* out = values.mutable_data();
    for (int i = 1; i <= n; ++i) {
        const double v = s[static_cast<size_t>(i)];
        out[i - 1] = IsMeasured(f) && v == -1 ? std::numeric_limits<double>::quiet_NaN() : v;
    }
    values.attr("flags").attr("writeable") = false;
    return values;
}

void SetSeries(const Field& f, ModelInput& in, const py::handle& value) {
    const auto values = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(value);
    if (!values) throw py::type_error(f.name + " takes numbers, one per time step");
    const py::ssize_t n = in.NrTst;
    if (values.ndim() > 1 || (values.ndim() == 1 && values.shape(0) != n))
        throw py::value_error(f.name + " takes " + std::to_string(n) + " values, one per time step (time_steps), not " +
                              (values.ndim() == 1 ? std::to_string(values.shape(0)) : "a table"));
    Series& s = f.SeriesOf(in);
    s.assign(static_cast<size_t>(n) + 1, IsMeasured(f) ? -1.0 : 0.0);
    const double* data = values.data();
    for (py::ssize_t i = 0; i < n; ++i) {
        const double v = data[values.ndim() == 1 ? i : 0];
        s[static_cast<size_t>(i) + 1] = IsMeasured(f) && std::isnan(v) ? -1.0 : v;
    }
}

py::object FieldValue(const Field& f, const ModelInput& in) {
    switch (f.kind) {
        case FieldKind::Text: return py::str(f.TextOf(in));
        case FieldKind::PerStep: return SeriesValue(f, in);
        case FieldKind::Choice: return py::str(f.choices.at(static_cast<size_t>(f.Get(in))).word);
        case FieldKind::Number: break;
    }
    if (f.access.flag) return py::bool_(in.*f.access.flag);
    if (f.access.count) return py::int_(in.*f.access.count);
    return py::float_(f.Get(in));
}

void SetFieldValue(const Field& f, ModelInput& in, const py::handle& value) {
    if (f.kind == FieldKind::Text) {
        if (!py::isinstance<py::str>(value)) throw py::type_error(f.name + " takes a text");
        f.SetText(in, value.cast<std::string>());
        return;
    }
    if (f.kind == FieldKind::PerStep) {
        SetSeries(f, in, value);
        return;
    }
    if (f.kind == FieldKind::Choice) {
        const int at = py::isinstance<py::str>(value) ? f.ChoiceOf(value.cast<std::string>()) : -1;
        if (at < 0) throw py::value_error(f.name + " takes " + f.ChoicesText() + ", not " + py::repr(value).cast<std::string>());
        f.Set(in, at);
        return;
    }
    double v = 0;
    try {
        v = py::float_(py::reinterpret_borrow<py::object>(value)).cast<double>();
    } catch (const py::error_already_set&) {
        throw py::type_error(f.name + " takes a number");
    }
    if (f.access.count) {
        // Counts are whole numbers; the number of time steps sizes the
        // series, so it must lie in its range before anything is sized.
        const bool steps = &f == FindField("time_steps");
        const double lowest = steps ? 0 : std::numeric_limits<int>::min();
        const double highest = steps ? MaxTimeSteps : std::numeric_limits<int>::max();
        if (!(v == std::floor(v) && v >= lowest && v <= highest))
            throw py::value_error(f.name + " takes a whole number" +
                                  (steps ? " from 0 to " + std::to_string(MaxTimeSteps) : ""));
        if (steps) {
            SetTimeSteps(in, static_cast<int>(v));
            return;
        }
    }
    f.Set(in, v);
}

const Field& FieldOrRaise(const std::string& name) {
    const Field* f = FindField(name);
    if (!f) throw py::key_error("no field is named " + name);
    return *f;
}

// Every field by its name: the set of values that makes a data set again
// (time_steps comes before the series in the table).
py::dict ToDict(const Data& d) {
    py::dict values;
    for (const Field& f : AllFields()) values[py::str(f.name)] = FieldValue(f, d.in);
    return values;
}

bool SameNumber(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool SameData(const Data& a, const Data& b) {
    if (a.in.Variant != b.in.Variant || a.in.NrTst != b.in.NrTst) return false;
    for (const Field& f : AllFields()) {
        if (f.kind == FieldKind::Text) {
            if (f.TextOf(a.in) != f.TextOf(b.in)) return false;
        } else if (f.kind != FieldKind::PerStep) {
            if (!SameNumber(f.Get(a.in), f.Get(b.in))) return false;
        } else {
            const Series &x = f.SeriesOf(a.in), &y = f.SeriesOf(b.in);
            for (int i = 1; i <= a.in.NrTst; ++i) {
                const size_t k = static_cast<size_t>(i);
                if (!SameNumber(k < x.size() ? x[k] : 0, k < y.size() ? y[k] : 0)) return false;
            }
        }
    }
    return true;
}

void Update(Data& d, const py::dict& values) {
    // The count first, so that the series given with it fit.
    if (values.contains("time_steps")) SetFieldValue(FieldOrRaise("time_steps"), d.in, values["time_steps"]);
    for (const auto& item : values) {
        const std::string name = py::str(item.first);
        if (name == "time_steps") continue;
        SetFieldValue(FieldOrRaise(name), d.in, item.second);
    }
}

py::dict FieldInfo(const Field& f) {
    const char* kind = f.kind == FieldKind::Text      ? "text"
                       : f.kind == FieldKind::PerStep ? "series"
                       : f.kind == FieldKind::Choice  ? "choice"
                                                      : "number";
    return py::dict("name"_a = f.name, "label"_a = f.label, "unit"_a = f.unit, "group"_a = GroupName(f.group),
                    "kind"_a = kind,
                    "zone"_a = f.perZone ? py::object(py::str(ZoneKey(f.zone))) : py::object(py::none()),
                    "integer"_a = f.integer, "decimals"_a = f.decimals, "allowed"_a = f.allowed.Text(f.unit),
                    "usual"_a = f.usual.Text(f.unit));
}

// ------------------------------------------------------------------ runs

// Answers the run's two questions as asked for and keeps its messages.
class Answers : public UserInteraction {
public:
    Answers(bool refine, bool optimise) : refine_(refine), optimise_(optimise) {}
    bool AskYesNo(const std::string& question) override {
        if (question == RefinementQuestion) return refine_;
        if (question == OptimisationQuestion) return optimise_;
        return false;
    }
    void ShowMessage(const std::string& message) override { messages.push_back(message); }
    void SetProgress(int) override {}
    const std::atomic<bool>* CancelFlag() const override { return &cancel; }
    std::vector<std::string> messages;
    std::atomic<bool> cancel{false};

private:
    bool refine_, optimise_;
};

struct Results {
    ModelInput in;
    ModelState state;
    std::vector<SearchProfile> profiles;
    RunOutcome outcome;
    std::vector<std::string> messages;
    bool balanceRows = false;
};

const char* StatusWord(RunStatus status) {
    switch (status) {
        case RunStatus::Completed: return "completed";
        case RunStatus::Stopped: return "stopped";
        case RunStatus::Refused: return "refused";
        case RunStatus::WriteFailed: return "write failed";
        case RunStatus::Cancelled: return "cancelled";
    }
    return "refused";
}

int ThreadCount(const py::object& threads) {
    if (threads.is_none()) return 0;
    const int n = threads.cast<int>();
    if (n < 1) throw py::value_error("threads takes a number of threads from 1, or None for every core");
    return n;
}

// The interpreter's main thread, where Ctrl+C is handled.
unsigned long MainThread = 0;

// Runs `compute` without the interpreter's lock. On the main thread a run
// that may take a while goes to a thread of its own, while the main thread
// looks for Ctrl+C every 50 ms and then sets `cancel`, which ends the run at
// its next safe point; the KeyboardInterrupt is raised when it has ended.
void ComputeUnlocked(const std::function<void()>& compute, bool mayTakeLong, std::atomic<bool>& cancel) {
    const bool interruptible = mayTakeLong && PyThread_get_thread_ident() == MainThread;
    std::exception_ptr failure;
    bool interrupted = false;
    {
        py::gil_scoped_release unlocked;
        if (!interruptible) {
            compute();
        } else {
            std::mutex lock;
            std::condition_variable ended;
            bool done = false;
            std::thread worker([&] {
                try {
                    compute();
                } catch (...) {
                    failure = std::current_exception();
                }
                std::lock_guard<std::mutex> held(lock);
                done = true;
                ended.notify_one();
            });
            std::unique_lock<std::mutex> held(lock);
            while (!ended.wait_for(held, std::chrono::milliseconds(50), [&] { return done; }) && !interrupted) {
                held.unlock();
                {
                    py::gil_scoped_acquire locked;
                    interrupted = PyErr_CheckSignals() != 0;  // leaves the KeyboardInterrupt set
                }
                if (interrupted) cancel = true;
                held.lock();
            }
            ended.wait(held, [&] { return done; });
            held.unlock();
            worker.join();
        }
    }
    if (interrupted) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
}

std::shared_ptr<Results> Run(const Data& d, bool refine, bool optimise, bool balance, const py::object& threads) {
    auto r = std::make_shared<Results>();
    r->in = d.in;
    r->balanceRows = balance;
    const int searchThreads = ThreadCount(threads);
    Answers answers(refine, optimise);
    // Ten years of days, or a search, take long enough to want Ctrl+C.
    const bool mayTakeLong = refine || optimise || static_cast<long long>(d.in.NrTst) * d.in.Ts >= 3650;
    ComputeUnlocked([&] { r->outcome = ComputeModel(r->in, r->state, answers, &r->profiles, searchThreads, balance); },
                    mayTakeLong, answers.cancel);
    r->messages = std::move(answers.messages);
    return r;
}

bool HasResults(const Results& r) {
    return r.outcome.status == RunStatus::Completed || r.outcome.status == RunStatus::Stopped;
}

const Results& WithResults(const Results& r) {
    if (!HasResults(r)) throw py::value_error("the run made no results: " + r.outcome.message);
    return r;
}

py::object FitTable(const Results& r, bool profile) {
    if (WithResults(r).profiles.empty()) return py::none();
    const FitReport report = BuildFitReport(r.in, r.state, r.profiles);
    return Columns(profile ? ProfileCsv(report) : FitCsv(report));
}

py::dict Metrics(const Results& r) {
    const std::vector<double> values = RunMetrics(r.in, WithResults(r).state);
    py::dict metrics;
    for (size_t k = 0; k < values.size(); ++k) metrics[py::str(AllMetrics()[k].name)] = values[k];
    return metrics;
}

// ------------------------------------------------------------------ scenarios

struct ScenarioSet {
    Scenario scenario;
    ModelInput base;
};

struct SweepResults {
    std::string csv;
    py::list seeks;
};

std::shared_ptr<SweepResults> Sweep(const ScenarioSet& s, const py::object& threads) {
    SweepOptions options;
    options.threads = ThreadCount(threads);
    auto out = std::make_shared<SweepResults>();
    std::vector<SweepRow> rows;
    std::vector<std::vector<SeekResult>> seeks;
    std::atomic<bool> cancel{false};
    options.cancel = &cancel;
    ComputeUnlocked(
        [&] {
            if (!s.scenario.varied.empty()) rows = RunSweep(s.scenario, s.base, ScenarioRuns(s.scenario), options);
            for (const Seek& seek : s.scenario.seeks) {
                if (cancel) break;
                seeks.push_back(RunSeek(s.scenario, s.base, seek, options));
            }
        },
        true, cancel);
    out->csv = SweepCsv(s.scenario, rows);
    for (size_t k = 0; k < seeks.size(); ++k) {
        const Seek& seek = s.scenario.seeks[k];
        for (const SeekResult& r : seeks[k]) {
            py::dict others;
            size_t o = 0;
            for (const Varied& v : s.scenario.varied)
                if (v.name != seek.field) others[py::str(v.name)] = r.others[o++];
            out->seeks.append(py::dict("field"_a = seek.field, "criterion"_a = seek.criterion.text,
                                       "others"_a = others, "found"_a = r.found,
                                       "value"_a = r.found ? py::object(py::float_(r.value)) : py::object(py::none()),
                                       "note"_a = r.note, "runs"_a = r.runs));
        }
    }
    return out;
}

}  // namespace
}  // namespace halovane

PYBIND11_MODULE(_core, m) {
    using namespace halovane;
    m.doc() = "The Halovane engine; use the package halovane.";
    m.attr("__version__") = HALOVANE_VERSION;
    MainThread = py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();

    py::class_<Data> data(m, "Data", "A data set: every field of the table of fields as an attribute.");
    data.def(py::init<>())
        .def("__copy__", [](const Data& d) { return Data(d); })
        .def("__deepcopy__", [](const Data& d, const py::object&) { return Data(d); })
        .def("copy", [](const Data& d) { return Data(d); }, "An independent copy of the data set.")
        .def("to_dict", &ToDict, "Every field by its machine name.")
        .def("update", &Update, "values"_a, "Sets the fields named in the dict (time_steps first).")
        .def("__getitem__", [](const Data& d, const std::string& name) {
            return FieldValue(FieldOrRaise(name), d.in);
        })
        .def("__setitem__", [](Data& d, const std::string& name, const py::object& value) {
            SetFieldValue(FieldOrRaise(name), d.in, value);
        })
        .def("__eq__", &SameData, "Every field holds the same value (NaN the same as NaN).")
        .def("__repr__", [](const Data& d) {
            return "<halovane.Data " + py::repr(py::str(d.in.Title1)).cast<std::string>() + ": " +
                   std::to_string(d.in.NrTst) + " steps of " + std::to_string(d.in.Ts) + " days, " +
                   std::to_string(d.in.NrLayers) + " root-zone layer(s), " + VariantWord(d.in.Variant) + ">";
        })
        .def(py::pickle([](const Data& d) { return ToDict(d); },
                        [](const py::dict& values) {
                            Data d;
                            Update(d, values);
                            return d;
                        }));
    for (const Field& f : AllFields()) {
        const Field* field = &f;
        const std::string doc = f.LabelFor(3) + (f.unit.empty() ? "" : " (" + f.unit + ")") +
                                (f.kind == FieldKind::PerStep ? ", one value per time step" : "") +
                                (IsMeasured(f) ? ", NaN where nothing was measured" : "") + "; allowed: " +
                                f.allowed.Text(f.unit);
        data.def_property(
            f.name.c_str(), [field](const Data& d) { return FieldValue(*field, d.in); },
            [field](Data& d, const py::object& value) { SetFieldValue(*field, d.in, value); }, doc.c_str());
    }

    m.def("fields", [] {
        py::list out;
        for (const Field& f : AllFields()) out.append(FieldInfo(f));
        return out;
    }, "The table of fields: name, label, unit, group, kind, zone, decimals and ranges of every field.");

    m.def("_read_input", [](const std::string& path) {
        Data d;
        d.in.InputFileName = path;
        const InputReadResult read = ReadInputFile(d.in);
        return py::make_tuple(read.Ok() ? py::cast(d) : py::object(py::none()), read.message, read.line);
    });
    m.def("_parse_input", [](const py::bytes& text, const std::string& name) {
        Data d;
        d.in.InputFileName = name;
        NumberFormat format;
        const InputReadResult read = ParseInputText(text.cast<std::string>(), name, d.in, format);
        return py::make_tuple(read.Ok() ? py::cast(d) : py::object(py::none()), read.message, read.line);
    });
    m.def("_write_input", [](const Data& d, const std::string& path) {
        ModelInput in = d.in;
        in.InputFileName = path;
        return WriteInputFile(in);
    });

    py::class_<Problem>(m, "Problem", "One problem of a data set, as the check before a run finds it.")
        .def_property_readonly("severity", [](const Problem& p) {
            return p.severity == Severity::Error ? "error" : "warning";
        })
        .def_readonly("group", &Problem::group)
        .def_readonly("field", &Problem::field)
        .def_readonly("step", &Problem::row, "The time step of a series value, 0 for a single field.")
        .def_readonly("value", &Problem::value)
        .def_readonly("allowed", &Problem::allowed)
        .def_readonly("consequence", &Problem::consequence)
        .def(py::pickle(  // so that a DataError comes back from a worker process whole
            [](const Problem& p) {
                return py::make_tuple(p.severity == Severity::Error, p.group, p.field, p.row, p.value, p.allowed,
                                      p.consequence);
            },
            [](const py::tuple& t) {
                return Problem{t[0].cast<bool>() ? Severity::Error : Severity::Warning, t[1].cast<std::string>(),
                               t[2].cast<std::string>(), t[3].cast<int>(), t[4].cast<std::string>(),
                               t[5].cast<std::string>(), t[6].cast<std::string>()};
            }))
        .def("__str__", &ProblemLine)
        .def("__repr__", [](const Problem& p) { return "<halovane.Problem " + ProblemLine(p) + ">"; });
    m.def("check", [](const Data& d) { return ValidateDataSet(d.in); }, "data"_a,
          "Every problem of the data set, as the check before a run finds them.");

    py::class_<Results, std::shared_ptr<Results>>(m, "Results", "The results of one run.")
        .def_property_readonly("status", [](const Results& r) { return StatusWord(r.outcome.status); })
        .def_property_readonly("message", [](const Results& r) { return r.outcome.message; })
        .def_readonly("messages", &Results::messages, "The messages the run showed.")
        .def_property_readonly("stopped_at_step", [](const Results& r) {
            return StoppedAtStep(WithResults(r).state, r.in.NrTst);
        })
        .def_property_readonly("drainage_factor", [](const Results& r) { return WithResults(r).state.QH1w; },
                               "QH1 used by the run (refined or as given), m/day per m.")
        .def("columns", [](const Results& r) { return Columns(ResultsCsv(r.in, WithResults(r).state)); },
             "The columns of FILE.csv by name, one value per time step.")
        .def("csv_text", [](const Results& r) { return ResultsCsv(r.in, WithResults(r).state); },
             "The text of FILE.csv.")
        .def("metrics", &Metrics, "The scenario runs' metrics of this run by name.")
        .def_property_readonly("balance_verdict", [](const Results& r) {
            return BalanceVerdict(WithResults(r).state.Balance);
        })
        .def_property_readonly("warnings", [](const Results& r) { return RunWarnings(WithResults(r).state.Balance); })
        .def("balance_summary", [](const Results& r) { return BalanceSummaryText(WithResults(r).state.Balance); })
        .def("balance_columns", [](const Results& r) -> py::object {
            if (!WithResults(r).balanceRows) return py::none();
            return Columns(BalanceCsv(r.state.Balance));
        }, "The columns of FILE.balance.csv (run with balance=True), or None.")
        .def("fit_columns", [](const Results& r) { return FitTable(r, false); },
             "The columns of FILE.fit.csv (after an optimisation), or None.")
        .def("profile_columns", [](const Results& r) { return FitTable(r, true); },
             "The columns of FILE.profile.csv (after an optimisation), or None.");
    m.def("_run", &Run, "data"_a, "refine"_a, "optimise"_a, "balance"_a, "threads"_a);

    py::class_<ScenarioSet, std::shared_ptr<ScenarioSet>>(m, "Scenario", "A scenario file with its base data set.")
        .def_property_readonly("base", [](const ScenarioSet& s) { return Data{s.base}; })
        .def_property_readonly("varied", [](const ScenarioSet& s) {
            py::dict varied;
            for (const Varied& v : s.scenario.varied) varied[py::str(v.name)] = v.values;
            return varied;
        })
        .def("runs", [](const ScenarioSet& s) { return ScenarioRuns(s.scenario); },
             "The values of the varied names for every run, in order.")
        .def("_sweep", &Sweep, "threads"_a);
    m.def("_read_scenario", [](const std::string& path) {
        auto s = std::make_shared<ScenarioSet>();
        std::string error;
        if (!LoadScenario(path, s->scenario, s->base, error)) return py::make_tuple(py::none(), error);
        return py::make_tuple(py::cast(s), error);
    });
    py::class_<SweepResults, std::shared_ptr<SweepResults>>(m, "SweepResults", "The runs of a scenario.")
        .def("csv_text", [](const SweepResults& s) { return s.csv; }, "The text of SCENARIO.sweep.csv.")
        .def("columns", [](const SweepResults& s) { return Columns(s.csv); })
        .def_readonly("seeks", &SweepResults::seeks);
}
