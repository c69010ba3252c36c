// The lightcurve window offscreen on the synthetic nights of the lightcurve tests: its three
// views hold what the subsystem computes, a point left out changes the spectrum, a run
// accepted on the desktop adds its point at once, and the ALCDEF export names the rule a
// field breaks before it writes anything.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolTip>
#include <filesystem>

#include "desktop_run.h"
#include "gui/alcdef_dialog.h"
#include "gui/lightcurve_controls.h"
#include "gui/lightcurve_window.h"
#include "gui/modeless_windows.h"
#include "gui/phased_view.h"
#include "gui/record_panel.h"
#include "gui/spectrum_view.h"
#include "gui/time_view.h"
#include "lightcurve/differential.h"
#include "support/lightcurve_scene.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

using Data = std::vector<std::pair<double, double>>;

Data DataOf(const QCPGraph* graph) {
    Data data;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it) {
        data.emplace_back(it->key, it->value);
    }
    return data;
}

// The error bars drawn on `graph`.
std::vector<double> ErrorsOf(const QCPGraph* graph) {
    for (int i = 0; i < graph->parentPlot()->plottableCount(); ++i) {
        auto* bars = qobject_cast<QCPErrorBars*>(graph->parentPlot()->plottable(i));
        if (bars != nullptr && bars->dataPlottable() == graph) {
            std::vector<double> errors;
            for (const QCPErrorBarsData& e : *bars->data()) {
                EXPECT_EQ(e.errorMinus, e.errorPlus);
                errors.push_back(e.errorPlus);
            }
            return errors;
        }
    }
    return {};
}

const QCPGraph* GraphNamed(const QCustomPlot& plot, const QString& name) {
    for (int i = 0; i < plot.graphCount(); ++i) {
        if (plot.graph(i)->name() == name) {
            return plot.graph(i);
        }
    }
    return nullptr;
}

// Three nights in two list files: the first night, with a frame whose asteroid failed,
// and the two later nights; star 2 varies.
struct SceneFiles {
    TempDir dir;
    LightcurveScene scene = ThreeNightScene();
    std::string night1 = dir.File("night1.lis");
    std::string later = dir.File("later.lis");

    SceneFiles() {
        scene.variableStar = 2;
        scene.failedFrames = {5};
        const std::vector<std::string> records = SceneRecords(scene);
        std::string first, rest;
        for (std::size_t i = 0; i < records.size(); ++i) {
            (i < 120 ? first : rest) += records[i];
        }
        WriteBytes(night1, first);
        WriteBytes(later, rest);
    }
};

// What the subsystem computes from the same files.
struct Expected {
    RecordSet set;
    Lightcurve curve;
    PeriodSearchInput input;
    PeriodResult period;

    Expected(const std::vector<std::string>& files, const LightcurveOptions& options = {}) {
        ListFileProblem problem;
        for (const std::string& f : files) {
            EXPECT_TRUE(AddListFile(set, f, problem)) << problem.Text();
        }
        std::string error;
        EXPECT_TRUE(ComputeLightcurve(set, options, curve, error)) << error;
        input = PeriodInputOf(curve);
        period = SearchPeriod(input);
    }

    Data Spectrum() const {
        Data data;
        for (const SpectrumValue& v : period.spectrum) {
            data.emplace_back(v.hours, v.rms);
        }
        std::sort(data.begin(), data.end());
        return data;
    }
};

struct ShownScene {
    QApplication& application = TestApplication();
    SceneFiles files;
    int opened = 0;
    LightcurveWindow window{nullptr, [this] { ++opened; }};

    ShownScene() {
        window.show();
        window.ShowListFile(files.night1);
        window.AddListFiles({QString::fromStdString(files.later)});
        EXPECT_TRUE(WaitUntil([&] { return !window.Searching(); }));
    }
};

TEST(LightcurveWindow, ViewsDrawWhatTheSubsystemComputes) {
    ShownScene s;
    LightcurveWindow& w = s.window;
    EXPECT_EQ(s.opened, 1);
    const Expected e({s.files.night1, s.files.later});
    ASSERT_EQ(w.Curve().points.size(), 359u);
    ASSERT_TRUE(e.period.found);

    // Against time: JD less the first night's day, magnitudes downwards, error bars.
    const TimeView& times = *w.Times();
    EXPECT_EQ(times.xAxis->label(), "JD − 2451925");
    EXPECT_TRUE(times.yAxis->rangeReversed());
    for (const LightcurveSession& session : e.curve.sessions) {
        Data points;
        std::vector<double> errors;
        for (const LightcurvePoint& p : PointsOfSession(e.curve, session.number)) {
            points.emplace_back(p.jd - 2451925, p.mag);
            errors.push_back(p.err);
        }
        const QCPGraph* graph = GraphNamed(times, QString("Session %1").arg(session.number));
        ASSERT_NE(graph, nullptr) << session.number;
        EXPECT_EQ(DataOf(graph), points) << session.number;
        EXPECT_EQ(ErrorsOf(graph), errors) << session.number;
    }

    // The spectrum with the best period and its aliases.
    const SpectrumView& spectrum = *w.Spectrum();
    EXPECT_EQ(DataOf(spectrum.Spectrum()), e.Spectrum());
    EXPECT_EQ(DataOf(spectrum.Best()), (Data{{e.period.hours, e.period.rms}}));
    EXPECT_EQ(DataOf(spectrum.Aliases()),
              (Data{{e.period.aliases[0].hours, e.period.aliases[0].rms},
                    {e.period.aliases[1].hours, e.period.aliases[1].rms}}));

    // Folded on the best period, zero points off, beneath the Fourier sum.
    const PhasedView& phased = *w.Phased();
    EXPECT_TRUE(phased.yAxis->rangeReversed());
    const std::vector<PhasedPoint> folded = PhasedPoints(e.input, e.period);
    for (int session = 1; session <= 3; ++session) {
        Data points;
        for (const PhasedPoint& p : folded) {
            if (p.session == session) {
                points.emplace_back(p.phase, p.mag);
            }
        }
        std::stable_sort(points.begin(), points.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        const QCPGraph* graph = GraphNamed(phased, QString("Session %1").arg(session));
        ASSERT_NE(graph, nullptr);
        EXPECT_EQ(DataOf(graph), points) << session;
    }
    const Data curve = DataOf(phased.FourierCurve());
    ASSERT_EQ(curve.size(), 201u);
    for (const auto& [phase, mag] : curve) {
        EXPECT_EQ(mag, FourierSum(e.period.coefficients, phase));
    }

    // The comparison check beside the stars of night 1: star 2 is marked variable.
    const LightcurveControls& controls = *w.Controls();
    ASSERT_EQ(controls.Session(), 1);
    for (const SessionCheck& c : e.curve.comps) {
        if (c.session == 1) {
            EXPECT_EQ(controls.CheckLabel(c.check.star)->text(),
                      QString("ratio %1").arg(*c.check.ratio, 0, 'f', 2));
            EXPECT_EQ(controls.WarningMark(c.check.star)->isVisibleTo(&w), c.check.star == 2);
        }
    }
    EXPECT_TRUE(controls.WarningMark(2)->isVisibleTo(&w));

    // For a person to look at, and through "Save picture..." as PNG and PDF.
    const char* names[] = {"time", "spectrum", "phased"};
    for (int tab = 0; tab < 3; ++tab) {
        w.Views()->setCurrentIndex(tab);
        QApplication::processEvents();
        w.grab().save(QString("screen_lightcurve_%1.png").arg(names[tab]));
    }
    ASSERT_TRUE(w.SavePicture(QString::fromStdString(s.files.dir.File("phased.pdf"))));
    EXPECT_EQ(ReadBytes(s.files.dir.File("phased.pdf")).substr(0, 5), "%PDF-");
    ASSERT_TRUE(w.SavePicture(QString::fromStdString(s.files.dir.File("phased.png"))));
    EXPECT_EQ(QImage(QString::fromStdString(s.files.dir.File("phased.png"))).size(),
              w.Phased()->size());
}

TEST(LightcurveWindow, PointsLeftOutAndEnsemblesChangedAreSearchedAgain) {
    ShownScene s;
    LightcurveWindow& w = s.window;
    const Data before = DataOf(w.Spectrum()->Spectrum());
    TimeView& times = *w.Times();
    times.replot();

    // Hovering shows the record; a click selects it.
    const PlotPoint target = times.Pickable().at(40);
    const QPoint at(static_cast<int>(times.xAxis->coordToPixel(target.x)),
                    static_cast<int>(times.yAxis->coordToPixel(target.y)));
    QTest::mouseMove(&times, at);
    EXPECT_TRUE(QToolTip::text().startsWith(QString::fromStdString(target.point.key.image)))
        << QToolTip::text().toStdString();
    QTest::mouseClick(&times, Qt::LeftButton, {}, at);
    ASSERT_EQ(w.Selection(), target.point.key);
    w.grab().save("screen_lightcurve_selected.png");

    QTest::mouseClick(w.Panel()->LeaveOutButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !w.Searching(); }));
    EXPECT_EQ(w.Curve().points.size(), 358u);
    LightcurveOptions options;
    options.leftOutByUser = {target.point.key};
    const Expected without({s.files.night1, s.files.later}, options);
    EXPECT_NE(DataOf(w.Spectrum()->Spectrum()), before);
    EXPECT_EQ(DataOf(w.Spectrum()->Spectrum()), without.Spectrum());
    EXPECT_FALSE(w.Panel()->LeaveOutButton()->isEnabled());

    QTest::mouseClick(w.Panel()->TakeBackButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !w.Searching(); }));
    EXPECT_EQ(DataOf(w.Spectrum()->Spectrum()), before);

    // Night 1 without its variable star, night 2 corrected for light time.
    w.Controls()->StarBox(2)->click();
    EXPECT_EQ(w.Curve().sessions[0].comps, (std::vector<int>{1, 3}));
    w.Controls()->Sessions()->setCurrentIndex(1);
    w.Controls()->LightTime()->setText("1.2");
    emit w.Controls()->LightTime()->editingFinished();
    EXPECT_EQ(w.Curve().sessions[1].ltcDays, LtcDaysOfDelta(1.2));
    EXPECT_EQ(w.Curve().sessions[0].ltcDays, 0);
    EXPECT_EQ(w.Curve().sessions[0].comps, (std::vector<int>{1, 3}));
    ASSERT_TRUE(WaitUntil([&] { return !w.Searching(); }));
    options = {};
    options.sessionComps = {{1, {1, 3}}};
    options.ltcDays = {0, LtcDaysOfDelta(1.2), 0};
    EXPECT_EQ(DataOf(w.Spectrum()->Spectrum()),
              Expected({s.files.night1, s.files.later}, options).Spectrum());
}

TEST(LightcurveWindow, ARunAcceptedOnTheDesktopAddsItsPointAtOnce) {
    TempDir dir;
    const std::string frame = SampleFrames()[0];
    DesktopRun desk(frame);
    MessageWatcher messages;
    QAction* item = desk.window.Menu().items.at(command::kLightcurve);
    EXPECT_FALSE(item->isEnabled());
    desk.Prepare(dir.File("live"));
    EXPECT_TRUE(item->isEnabled());
    desk.Command(command::kLightcurve);
    LightcurveWindow* w = desk.window.Modeless().Lightcurve();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Records().records.empty());

    desk.Run(kSampleAsteroid1);
    // No turn of the event loop since the run wrote its record.
    ASSERT_EQ(w->Records().records.size(), 1u);
    ASSERT_EQ(w->Curve().points.size(), 1u);
    const Expected reread({dir.File("live.lis")});
    EXPECT_EQ(w->Curve().points[0].key.image, frame);
    EXPECT_EQ(w->Curve().points[0].mag, reread.curve.points.at(0).mag);
    EXPECT_EQ(w->Curve().points[0].err, reread.curve.points.at(0).err);
    ASSERT_TRUE(WaitUntil([&] { return !w->Searching(); }));
    EXPECT_EQ(w->Period()->result.reason, "too few points for order 4");
    EXPECT_TRUE(messages.seen.empty()) << messages.seen.front();
}

TEST(LightcurveWindow, AlcdefExportNamesTheRuleBeforeWritingAnything) {
    ShownScene s;
    const std::string out = s.files.dir.File("cz1.alcdef");
    AlcdefDialog dialog(&s.window, s.window.Records(), s.window.Curve(), {},
                        QString::fromStdString(out));
    dialog.Field("OBJECTNUMBER")->setText("0");
    dialog.Field("MPCDESIG")->setText("1999 CZ1");
    dialog.Field("CONTACTINFO")->setText("[observer@example.org]");
    dialog.Field("OBSERVERS")->setText("Observer, A.");
    dialog.show();
    PressOk(&dialog);
    EXPECT_EQ(dialog.Problem()->text(), "Session 1: CONTACTNAME is required (CONTACTNAME)");
    EXPECT_EQ(dialog.focusWidget(), dialog.Field("CONTACTNAME"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(out));
    dialog.grab().save("screen_lightcurve_alcdef.png");

    dialog.Field("CONTACTNAME")->setText("A. Observer");
    PressOk(&dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.Problem()->text().toStdString();
    const CheckedAlcdef checked =
        CheckAlcdef(s.window.Records(), s.window.Curve(), dialog.Metadata());
    ASSERT_TRUE(checked.Writable());
    EXPECT_EQ(checked.blocks, 3u);
    EXPECT_EQ(ReadBytes(out), checked.text);
}

}  // namespace
}  // namespace corvane::test
