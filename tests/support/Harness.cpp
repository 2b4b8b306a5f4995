#include "support/Harness.h"

#include <QCoreApplication>
#include <QDir>

namespace qor::test {

Harness::Harness(const QString& dir) : Harness(InstrumentMaker(), dir) {}

Harness::Harness(const InstrumentMaker& make, const QString& dir) {
    if (dir.isEmpty()) {
        tmp_ = std::make_unique<QTemporaryDir>();
        dir_ = tmp_->path();
    } else {
        dir_ = dir;
    }
    sim = std::make_unique<Kx10Simulator>(clock);
    if (make) instrument = make(*this);
    form_ = std::make_unique<TForm9>(services, instrument ? *instrument : *sim, dir_);
    form_->createDialogs();
    form_->show();
    QCoreApplication::processEvents();
}

Harness::~Harness() {
    form_.reset();
}

QString Harness::infoPath() const { return QDir(dir_).filePath(QStringLiteral("QOR10MappingV010.inf")); }

void Harness::close() { form_->close(); }

void Harness::tick1(int64_t ms) {
    clock.advance(ms);
    form_->Timer1Timer();
}

void Harness::tick2(int64_t ms) {
    clock.advance(ms);
    form_->Timer2Timer();
}

int Harness::runTimers(const std::function<bool()>& keepGoing, int maxTicks) {
    int ticks = 0;
    int64_t sinceTimer1 = 0;
    while (keepGoing() && ticks < maxTicks) {
        const int ms = form_->Timer2->interval();
        tick2(ms);
        sinceTimer1 += ms;
        if (sinceTimer1 >= 800) {
            sinceTimer1 -= 800;
            form_->Timer1Timer();
        }
        ++ticks;
    }
    return ticks;
}

}  // namespace qor::test
