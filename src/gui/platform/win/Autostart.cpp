#include "platform/Autostart.h"

#include <QDir>
#include <QFileInfo>

// windows.h first: the shell headers build on it.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

// A shell link (.lnk) in the user's Startup folder of the Start menu.
namespace Autostart {

bool supported() {
    return true;
}

QString startupFolder() {
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

QString linkPath(const QString& folder, const QString& linkName) {
    return QDir(folder).filePath(linkName + QStringLiteral(".lnk"));
}

LinkOutcome createShellLink(const QString& folder, const QString& linkName, const QString& target,
                            const QString& arguments) {
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {false, static_cast<int>(ERROR_PATH_NOT_FOUND)};

    // Qt has usually set up COM on this thread already; then this only counts.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring targetPath = QDir::toNativeSeparators(target).toStdWString();
    const std::wstring workingDir =
        QDir::toNativeSeparators(QFileInfo(target).absolutePath()).toStdWString();
    const std::wstring args = arguments.toStdWString();
    const std::wstring file = QDir::toNativeSeparators(linkPath(folder, linkName)).toStdWString();

    IShellLinkW* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result))
        result = link->SetPath(targetPath.c_str());
    if (SUCCEEDED(result))
        result = link->SetArguments(args.c_str());
    if (SUCCEEDED(result))
        result = link->SetWorkingDirectory(workingDir.c_str());
    if (SUCCEEDED(result)) {
        IPersistFile* persist = nullptr;
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
        if (SUCCEEDED(result)) {
            result = persist->Save(file.c_str(), TRUE);
            persist->Release();
        }
    }
    if (link)
        link->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
    return {SUCCEEDED(result), SUCCEEDED(result) ? 0 : static_cast<int>(result)};
}

} // namespace Autostart
