#include "gui/period_worker.h"

namespace corvane {

PeriodWorker::PeriodWorker(QObject* parent) : QObject(parent) {
    // One search at a time: a cancelled one stops within a few hundred trial frequencies.
    pool_.setMaxThreadCount(1);
}

PeriodWorker::~PeriodWorker() {
    if (cancel_) {
        cancel_->store(true);
    }
    pool_.waitForDone();
}

void PeriodWorker::Request(PeriodSearchInput input, std::vector<LightcurvePoint> points) {
    if (cancel_) {
        cancel_->store(true);
    }
    pool_.clear();  // a request still waiting behind the running one is no longer wanted
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    const std::uint64_t id = ++newest_;
    busy_ = true;
    emit Progress(0);
    auto job = std::make_shared<PeriodOutcome>();
    job->input = std::move(input);
    job->points = std::move(points);
    // The job belongs to the searching thread until it is posted back; the GUI thread
    // reads `newest_` and `busy_` only in what is posted.
    pool_.start([this, job, cancel = cancel_, id] {
        int shown = 0;
        PeriodSearchControl control;
        control.cancel = cancel.get();
        control.progress = [&](double fraction) {
            const int percent = static_cast<int>(fraction * 100);
            if (percent == shown) {
                return;
            }
            shown = percent;
            QMetaObject::invokeMethod(
                this,
                [this, id, percent] {
                    if (id == newest_) {
                        emit Progress(percent);
                    }
                },
                Qt::QueuedConnection);
        };
        job->result = SearchPeriod(job->input, control);
        QMetaObject::invokeMethod(
            this,
            [this, id, job] {
                if (id != newest_) {
                    return;
                }
                busy_ = false;
                emit Done(job);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace corvane
