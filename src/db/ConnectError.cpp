#include "ConnectError.h"

std::string connectFailureReason(ConnectFailure failure) {
    switch (failure) {
    case ConnectFailure::unreachable:
        return "无法连接到服务器，请检查服务器名称、端口和网络";
    case ConnectFailure::loginRefused:
        return "服务器拒绝登录：用户名或密码错误，或该用户无权打开此数据库";
    case ConnectFailure::encryptionFailed:
        return "加密连接未能建立";
    case ConnectFailure::certificateUntrusted:
        return "服务器证书不受信任";
    case ConnectFailure::certificateHostName:
        return "服务器证书上的主机名与服务器名称不符";
    case ConnectFailure::serverCannotEncrypt:
        return "服务器不支持加密，而连接设置要求加密";
    case ConnectFailure::kerberosFailed:
        return "Windows 身份验证失败：没有有效的 Kerberos 票据（请先用 kinit 登录域）";
    case ConnectFailure::unusableSetting:
    case ConnectFailure::other:
        break;
    }
    return "数据库连接失败";
}
