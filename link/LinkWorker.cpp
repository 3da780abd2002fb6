#include "link/LinkWorker.h"

#include <chrono>
#include <system_error>

#include "link/DeviceCommands.h"
#include "link/PortSearch.h"
#include "link/ResultChannel.h"
#include "link/SerialPort.h"

LinkWorker::LinkWorker(SerialPort& port, DeviceData& data, ResultChannel& results)
    : m_port(port), m_data(data), m_results(results) {}

LinkWorker::~LinkWorker() {
    Stop();
}

bool LinkWorker::Start() {
    if (m_thread.joinable()) return true;
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;  // the platform refused a thread: the pages' requests go nowhere
    }
    return true;
}

void LinkWorker::PostRequest(int command, WindowHandle window) {
    Queue({command, window});
}

void LinkWorker::RequestReadBack(WindowHandle window, DeviceData& into) {
    Queue({linkcmd::kReadBack, window, &into});
}

void LinkWorker::Queue(const Request& request) {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        if (m_ended) return;
        m_queue.push_back(request);
    }
    m_wake.notify_one();
}

void LinkWorker::Stop() {
    if (!m_thread.joinable()) return;
    // Free the worker from whatever holds it, then let the quit be the next thing it does.
    m_results.Release();
    m_port.line().Abort();
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
        m_queue.push_back({linkcmd::kQuit, 0, nullptr});
    }
    m_wake.notify_one();
    {
        std::unique_lock lock(m_mutex);
        const bool ended = m_endedSignal.wait_for(lock, std::chrono::milliseconds(kStopWaitMs),
                                                  [&] { return m_ended; });
        // Out of time: cut the quit's own exchange short rather than leave the thread running,
        // and keep it cut short should the quit not have begun yet.
        if (!ended) {
            m_stopOverdue = true;
            m_port.line().Abort();
        }
    }
    m_thread.join();
}

void LinkWorker::BeginQuit() {
    std::lock_guard lock(m_mutex);
    if (!m_stopOverdue) m_port.line().ClearAbort();
}

LinkWorker::Request LinkWorker::NextRequest() {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [&] { return !m_queue.empty(); });
    const Request request = m_queue.front();
    m_queue.pop_front();
    return request;
}

void LinkWorker::Run() {
    while (Serve(NextRequest())) {
    }
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_queue.clear();
    m_endedSignal.notify_all();
}

bool LinkWorker::Serve(const Request& request) {
    const WindowHandle window = request.window;
    // "Only if lParam was a window": the channel drops answers for window 0.
    auto answer = [&](LinkResult result, std::intptr_t value) {
        const int code = static_cast<int>(result);
        m_port.TraceAnswer(request.command, code, value);
        m_results.Send(window, code, value);
    };
    switch (request.command) {
        case linkcmd::kScan:
            m_port.Close();
            answer(LinkResult::Scanned, FindDevice(m_port, m_data));
            break;
        case linkcmd::kIdentify:
            answer(LinkResult::Identified, Identify(m_port, m_data));
            break;
        case linkcmd::kReadEvents:
            answer(LinkResult::EventsRead, ReadEvents(m_port, m_data));
            break;
        case linkcmd::kUpload:
            answer(LinkResult::Uploaded, SendConfiguration(m_port, m_data));
            break;
        case linkcmd::kClose:
            m_port.Close();
            break;
        case linkcmd::kDial:
            answer(LinkResult::OneByte, SendDialRequest(m_port, m_data));
            break;
        case linkcmd::kDisconnect:
            SendDisconnect(m_port);
            answer(LinkResult::OneByte, 1);
            break;
        case linkcmd::kCommand17:
            SendCommand17(m_port);
            answer(LinkResult::Command17Sent, 1);
            break;
        case linkcmd::kSendScratch:
            m_port.SendFrame(m_txScratch.data(), m_txScratchLength);
            break;
        case linkcmd::kCommand18:
            SendCommand18(m_port);
            answer(LinkResult::Command18Sent, 1);
            break;
        case linkcmd::kWaitStatus:
            answer(LinkResult::OneByte, WaitStatus(m_port));
            break;
        case linkcmd::kModemInfo:
            answer(LinkResult::OneByte, ReadModemInfo(m_port, m_data));
            break;
        case linkcmd::kReadBack:
            if (request.into) answer(LinkResult::ReadBack, ReadBack(m_port, *request.into));
            break;
        case linkcmd::kQuit:
            BeginQuit();
            SendDisconnect(m_port);
            std::this_thread::sleep_for(std::chrono::milliseconds(kQuitPauseMs));
            m_port.Close();
            return false;
        default:  // 2 and anything else above 13: nothing
            break;
    }
    return true;
}
