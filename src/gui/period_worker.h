#pragma once
// The period search off the GUI thread. Each request takes its own copy of the points; a
// newer request cancels the one before, and only the newest result comes back, in the
// thread the worker lives in.

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "lightcurve/lightcurve.h"
#include "lightcurve/period_search.h"

namespace corvane {

// A search and what it was made from.
struct PeriodOutcome {
    PeriodSearchInput input;
    std::vector<LightcurvePoint> points;  // the lightcurve's points behind input.points
    PeriodResult result;
};

class PeriodWorker : public QObject {
    Q_OBJECT
  public:
    explicit PeriodWorker(QObject* parent = nullptr);
    // Cancels the search still running and waits for its thread.
    ~PeriodWorker() override;

    void Request(PeriodSearchInput input, std::vector<LightcurvePoint> points);
    bool Busy() const { return busy_; }

  signals:
    void Progress(int percent);
    void Done(std::shared_ptr<const PeriodOutcome> outcome);

  private:
    QThreadPool pool_;
    std::shared_ptr<std::atomic<bool>> cancel_;  // of the newest request
    std::uint64_t newest_ = 0;
    bool busy_ = false;
};

}  // namespace corvane
