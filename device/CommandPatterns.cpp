// The two patterns every device command follows. A Set takes the token, builds its block,
// hands its payload to the write transfer on the pool and returns without waiting. A Get
// takes the token, builds its block, prefills the reply with what a failed transfer is to
// leave behind, and runs the read transfer on the calling thread.
#include "device/CommandTable.h"
#include "device/Hid_Thread.h"
#include "device/ReportFrame.h"

#include <QDebug>
#include <cstring>

using namespace commands;

namespace {

// "cmd Failed 0B": the code as two upper-case hexadecimal digits.
QString codeDigits(uchar code)
{
    return QString::number(code, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

int paramIndex(uchar position) { return position - frame::kFirstParamPos; }

// B1..B6: the row's constant bytes with the slot's arguments written at their positions.
ParamBytes parameterBytes(const ParamBytes &fixed, const Positions &positions,
                          std::initializer_list<uchar> arguments)
{
    Q_ASSERT(int(arguments.size()) == countPositions(positions));
    ParamBytes params = fixed;
    int i = 0;
    for (uchar argument : arguments)
        params[size_t(paramIndex(positions[size_t(i++)]))] = argument;
    return params;
}

}  // namespace

void Hid_Thread::runSet(const SetRow &row, std::initializer_list<uchar> arguments, const uchar *payload)
{
    // A missing caller buffer is refused like a busy device: nothing is sent.
    if ((row.payloadLength > 0 && !payload) || !acquireIdle()) {
        qDebug().noquote() << "cmd Failed" << codeDigits(row.code);
        return;
    }
    TokenHold token(flags);  // given back by the transfer, or here if the command cannot start it
    buildCommand(row.code, parameterBytes(row.fixed, row.arguments, arguments).data());
    if (row.payloadLength > 0)
        std::memcpy(dataArea, payload, size_t(row.payloadLength));
    // The transfer gives the token back when it ends; its result is not awaited.
    startSendPacket(std::move(token), row.payloadLength, row.pause == SettlePause);
    if (row.after == Sleep8ms)
        QThread::msleep(kAfterSleepMs);
}

Hid_Thread::GetOutcome Hid_Thread::runGet(const GetRow &row, std::initializer_list<uchar> arguments,
                                          std::initializer_list<uchar *> results, uchar *buffer)
{
    Q_ASSERT(int(results.size()) == countPositions(row.results));
    if ((row.payloadLength > 0 && !buffer) || !acquireIdle()) {
        qDebug() << "cmd Failed";
        return GetOutcome::TokenRefused;
    }
    TokenHold token(flags);
    buildCommand(row.code, parameterBytes(row.fixed, row.arguments, arguments).data());

    // The reply as a transfer that does not happen leaves it: the outputs kept unchanged
    // hold their current values, everything else is 0.
    std::memset(inReport, 0, sizeof inReport);
    inReport[frame::kReportIdPos] = frame::kReportId;
    uchar *reply = inReport + frame::kBlockPos;
    if (row.onFailure == OnFailure::KeepOutputs) {
        int i = 0;
        for (uchar *result : results)
            reply[row.results[size_t(i++)]] = *result;
    }
    // A failed data phase leaves the caller's bytes wherever no report arrived.
    if (row.payloadLength > 0)
        std::memcpy(dataArea, buffer, size_t(row.payloadLength));

    const bool answered = queryPacket(std::move(token), row.payloadLength);

    if (row.payloadLength > 0)
        std::memcpy(buffer, dataArea, size_t(row.payloadLength));
    // After a failure the outputs take no reply byte, not even when the reply arrived and
    // only its data phase failed.
    int i = 0;
    for (uchar *result : results) {
        const uchar answer = reply[row.results[size_t(i++)]];
        if (answered)
            *result = answer;
        else if (row.onFailure == OnFailure::ZeroOutputs)
            *result = 0;
    }
    return answered ? GetOutcome::Answered : GetOutcome::TransferFailed;
}
