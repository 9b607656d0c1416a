#include "link/LinkMessages.h"

QString ErrorMessage(int code)
{
    switch (code) {
    case 0: return QStringLiteral("PX510 出错：错误类型(超出量程!)");
    case 1: return QStringLiteral("PX510 出错：错误类型(无测量数据!)");
    case 2: return QStringLiteral("PX510 出错：错误类型(硬件电路故障!)");
    case 3: return QStringLiteral("PX510 出错：错误类型(电机走死!)");
    case 4: return QStringLiteral("PX510 出错：错误类型(传感器返回中!)");
    case 128: return QStringLiteral("PX510 出错：错误类型(CRC校验错误或包不全回复信息!)");
    case 129: return QStringLiteral("PX510 出错：错误类型(包号超出范围!)");
    default: return QStringLiteral("PX510 出错：错误类型(未知错误!)");
    }
}

QString IncompleteTransferMessage()
{
    return QStringLiteral("数据传输不完整，请重新载入数据！");
}

QString LinkLostMessage()
{
    return QStringLiteral("与PX510的连接已断开，请检查连线后重新连接！");
}

QString FailureText(LinkStatus status, int errorCode)
{
    switch (status) {
    case LinkStatus::None: return {};
    case LinkStatus::NoPort: return QStringLiteral("未连接到PX510，请先启动连接。");
    case LinkStatus::TesterError: return ErrorMessage(errorCode);
    case LinkStatus::PortLost: return LinkLostMessage();
    case LinkStatus::DataFormat: return IncompleteTransferMessage();
    case LinkStatus::NoAccess:
    case LinkStatus::Io:
    case LinkStatus::TimeOut:
    case LinkStatus::Protocol: break;
    }
    return QStringLiteral("PX510没有回复，请检查连接线和仪器电源。");
}
