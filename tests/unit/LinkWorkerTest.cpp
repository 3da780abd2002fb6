#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "device/DeviceData.h"
#include "link/LinkWorker.h"
#include "link/ResultChannel.h"
#include "link/SerialPort.h"
#include "tests/support/ScriptedLine.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Answer {
    WindowHandle window;
    int code;
    std::intptr_t value;
    bool operator==(const Answer&) const = default;
};

// A line whose reads hang like a silent device's until their wait runs out or they are
// aborted; nothing ever answers. It can lose aborts, as one that lands just before a blocking
// call starts is lost.
class SilentLine : public ScriptedLine {
  public:
    std::atomic<int> waitMs{1000};
    std::atomic<int> abortsToMiss{0};
    std::atomic<int> abortCalls{0};

    int Read(std::uint8_t*, std::size_t) override {
        std::unique_lock lock(m_mutex);
        ++readCalls;
        m_cv.notify_all();
        m_cv.wait_for(lock, std::chrono::milliseconds(waitMs.load()),
                      [&] { return aborted.load(); });
        return aborted ? -1 : 0;
    }
    void Abort() override {
        std::lock_guard lock(m_mutex);
        ++abortCalls;
        if (abortsToMiss > 0) {
            --abortsToMiss;
            return;
        }
        aborted = true;
        m_cv.notify_all();
    }
    void ClearAbort() override { aborted = false; }

    // Waits until a read has begun.
    bool WaitForRead() {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, 5s, [&] { return readCalls > 0; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

// Plays the UI thread: collects the answers the worker delivers.
class FakeUi {
  public:
    ResultChannel channel{[this] {
        std::lock_guard lock(m_mutex);
        m_woken = true;
        m_cv.notify_all();
    }};

    // Handles answers until `count` have arrived or the time is up.
    std::vector<Answer> Collect(std::size_t count, std::chrono::milliseconds timeout = 5s) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (answers.size() < count) {
            std::unique_lock lock(m_mutex);
            if (!m_cv.wait_until(lock, until, [&] { return m_woken; })) break;
            m_woken = false;
            lock.unlock();
            channel.Pump([&](WindowHandle w, int c, std::intptr_t v) {
                answers.push_back({w, c, v});
            });
        }
        return answers;
    }
    std::vector<Answer> answers;

    // Waits until the worker has an answer to deliver.
    bool WaitForDelivery() {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, 5s, [&] { return m_woken; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_woken = false;
};

// Answers like a communicator on COM2.
void ActAsUnit(ScriptedLine& line) {
    line.presentPort = 2;
    line.onWrite = [&line](const Bytes& w) {
        switch (w[3]) {
            case 13:
                line.QueueFrame(Bytes(108, 0));
                break;
            case 11:
                line.QueueFrame(Bytes(452, 0));
                break;
            case 10:
                line.QueueFrame({0});
                break;
            case 12:
                line.QueueFrame(Bytes(150, 'e'));
                break;
            case 100:
                line.QueueFrame({6});
                break;
            case 20:
                line.QueueFrame({8});
                break;
            case 15:
                line.QueueFrame({6});
                break;
        }
    };
}

// Stop must come back; a hang here fails the test instead of stalling the suite.
bool StopsWithoutHanging(LinkWorker& worker) {
    auto stopped = std::async(std::launch::async, [&] { worker.Stop(); });
    return stopped.wait_for(8s) == std::future_status::ready;
}

// A worker on a line that answers like a unit on COM2, answering a fake UI.
struct UnitRig {
    UnitRig() { ActAsUnit(line); }
    ScriptedLine line;
    SerialPort port{line};
    DeviceData data;
    FakeUi ui;
    LinkWorker worker{port, data, ui.channel};
};

}  // namespace

TEST(LinkWorker, ServesInOrderWithTheAnswerCodesOfEachCommand) {
    UnitRig rig;
    auto& [line, port, data, ui, worker] = rig;
    ASSERT_TRUE(worker.Start());

    const WindowHandle w = 42;
    data.uploadImage[0] = 100;
    data.uploadLength = 1;
    worker.RequestScan(w);
    worker.RequestIdentify(w);
    worker.PostRequest(14, w);  // ignored
    worker.PostRequest(99, w);
    worker.PostRequest(linkcmd::kNothing, w);
    worker.RequestEvents(w);
    worker.RequestUpload(0);  // answered "always", but to no window
    worker.RequestUpload(w);
    ui.Collect(4);
    // The page fills uploadImage before it posts, and only then.
    data.uploadImage[0] = 20;
    worker.RequestDial(w);
    worker.RequestStatus(0);  // waits, tells nobody
    worker.RequestDisconnect(w);
    worker.PostRequest(linkcmd::kCommand17, w);
    worker.PostRequest(linkcmd::kCommand18, w);
    worker.PostRequest(linkcmd::kModemInfo, w);

    const std::vector<Answer> expected = {
        {w, 0, 2}, {w, 1, 0}, {w, 7, 150}, {w, 2, 0}, {w, 5, 8},
        {w, 5, 1}, {w, 8, 1}, {w, 10, 1},  {w, 5, 0},
    };
    EXPECT_EQ(ui.Collect(expected.size()), expected);
    EXPECT_EQ(ui.Collect(expected.size() + 1, 300ms).size(), expected.size());
    ASSERT_TRUE(StopsWithoutHanging(worker));
    // The quit sends the disconnect and closes the port.
    EXPECT_EQ(line.writes.back(), (Bytes{0x7E, 1, 0, 15, 0x7E + 1 + 15}));
    EXPECT_FALSE(line.IsOpen());
}

TEST(LinkWorker, ScanClosesTheOpenPortAndStartsAgainFromCom1) {
    UnitRig rig;
    auto& [line, port, data, ui, worker] = rig;
    worker.Start();
    worker.RequestScan(1);
    worker.RequestScan(1);
    ui.Collect(2);
    EXPECT_EQ(line.openAttempts, (std::vector<int>{1, 2, 1, 2}));
    EXPECT_TRUE(StopsWithoutHanging(worker));
}

TEST(LinkWorker, NothingBeforeStartAndStopWithoutStart) {
    ScriptedLine line;
    SerialPort port(line);
    DeviceData data;
    FakeUi ui;
    LinkWorker worker(port, data, ui.channel);
    worker.RequestScan(7);
    worker.Stop();  // never started: does nothing
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(line.openAttempts.empty());
}

TEST(LinkWorker, StopEndsInEveryState) {
    // Idle.
    {
        ScriptedLine line;
        SerialPort port(line);
        DeviceData data;
        FakeUi ui;
        LinkWorker worker(port, data, ui.channel);
        worker.Start();
        EXPECT_TRUE(StopsWithoutHanging(worker));
    }
    // In the middle of a long exchange (a catalogue read on a silent line), with more queued.
    {
        SilentLine line;
        line.presentPort = 1;
        line.Open(1);
        SerialPort port(line);
        DeviceData data;
        FakeUi ui;
        LinkWorker worker(port, data, ui.channel);
        line.waitMs = 5000;
        worker.Start();
        worker.RequestEvents(1);
        worker.RequestUpload(1);
        worker.RequestIdentify(1);
        ASSERT_TRUE(line.WaitForRead());
        line.waitMs = 1000;
        EXPECT_TRUE(StopsWithoutHanging(worker));
        EXPECT_TRUE(ui.answers.empty());  // released answers are dropped
        // Queued requests were dropped; the quit still sent its disconnect.
        EXPECT_EQ(line.writes.back()[3], 15);
    }
    // Blocked delivering an answer that the UI never takes.
    {
        ScriptedLine line;
        ActAsUnit(line);
        SerialPort port(line);
        DeviceData data;
        FakeUi ui;  // never pumps
        LinkWorker worker(port, data, ui.channel);
        worker.Start();
        worker.RequestScan(5);
        ASSERT_TRUE(ui.WaitForDelivery());
        EXPECT_TRUE(StopsWithoutHanging(worker));
    }
}

TEST(LinkWorker, AnAbortAfterTheStopDeadlineHoldsThroughTheQuit) {
    SilentLine line;
    line.presentPort = 1;
    line.Open(1);
    SerialPort port(line);
    DeviceData data;
    FakeUi ui;
    LinkWorker worker(port, data, ui.channel);
    // Stop's first abort is lost, so the catalogue read outlives Stop's wait and only its
    // second abort ends it; a disconnect would then wait its whole time-out.
    // Well past Stop's wait, so that a slow machine cannot end the read before the abort does.
    line.waitMs = LinkWorker::kStopWaitMs + 4000;
    line.abortsToMiss = 1;
    worker.Start();
    worker.RequestEvents(1);
    ASSERT_TRUE(line.WaitForRead());
    EXPECT_TRUE(StopsWithoutHanging(worker));
    EXPECT_EQ(line.abortCalls, 2);
    // The quit found the line still aborted: no disconnect went out, no reply was awaited.
    EXPECT_TRUE(line.aborted);
    EXPECT_EQ(line.writes.size(), 1u);
    EXPECT_EQ(line.readCalls, 1u);
    EXPECT_FALSE(line.IsOpen());
}

TEST(ResultChannel, DeliversOnPumpAndDropsAfterRelease) {
    std::atomic<int> wakeups{0};
    ResultChannel channel([&] { ++wakeups; });
    channel.Send(0, 1, 2);  // no window: nothing waits
    EXPECT_EQ(wakeups, 0);

    std::vector<Answer> got;
    auto sender = std::async(std::launch::async, [&] { channel.Send(9, 1, -3); });
    while (wakeups == 0) std::this_thread::yield();
    EXPECT_EQ(sender.wait_for(20ms), std::future_status::timeout);  // waits for the UI
    channel.Pump([&](WindowHandle w, int c, std::intptr_t v) { got.push_back({w, c, v}); });
    sender.get();
    EXPECT_EQ(got, (std::vector<Answer>{{9, 1, -3}}));

    auto blocked = std::async(std::launch::async, [&] { channel.Send(9, 2, 0); });
    while (wakeups < 2) std::this_thread::yield();
    channel.Release();
    EXPECT_EQ(blocked.wait_for(5s), std::future_status::ready);
    channel.Send(9, 3, 0);  // after the release: dropped at once
    channel.Pump([&](WindowHandle w, int c, std::intptr_t v) { got.push_back({w, c, v}); });
    EXPECT_EQ(got.size(), 1u);
}
