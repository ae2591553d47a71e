#pragma once
// Every text the user sees, as UTF-16 literals: the window uses the wide API,
// so the texts read correctly whatever the system's ANSI code page is.

#include "resources/version.h"

namespace strings {

// The title has "①", the configure button "一".
inline constexpr wchar_t windowTitle[] = L"Zovrel工具-①键配置java环境 v" ZOVREL_VERSION_TEXT;
inline constexpr wchar_t configureButton[] = L"一键配置java环境";
inline constexpr wchar_t browseButton[] = L"打开文件夹";
inline constexpr wchar_t antivirusNotice[] = L"部分杀毒软件会有误报的情况，需添加信任";

inline constexpr wchar_t windowFailedCaption[] = L"Zovrel工具";
inline constexpr wchar_t windowFailedText[] = L"加载主窗口失败。";

inline constexpr wchar_t browseTitle[] = L"请选择目录：";

// ---- Configure button: input warnings and the result of a configuration ----
// "{name}" and "{code}" are filled in by the result message.

inline constexpr wchar_t configureCaption[] = L"信息：";
inline constexpr wchar_t configureSucceeded[] = L"配置Java环境成功！";

inline constexpr wchar_t folderBlank[] =
    L"请先选择JDK的安装目录（点击“打开文件夹”，或直接输入，例如 C:\\Program Files\\Java\\jdk1.8.0_202），"
    L"再点击“一键配置java环境”。";
inline constexpr wchar_t folderNotRepresentable[] =
    L"JDK目录的路径中含有本系统的 ANSI 代码页无法表示的字符，写入环境变量后会变成“?”，Java 将无法使用。"
    L"请把 JDK 放到路径中不含这些字符的目录，再重新选择。没有写入任何环境变量。";

inline constexpr wchar_t configureIncomplete[] = L"Java环境没有配置完成。";
inline constexpr wchar_t variablesWritten[] = L"已写入：";
inline constexpr wchar_t variablesNotWritten[] = L"未写入：";
inline constexpr wchar_t variablesNone[] = L"无";
inline constexpr wchar_t variableListSeparator[] = L"、";
inline constexpr wchar_t pathUpToDate[] = L"PATH 已包含 %JAVA_HOME%\\bin 和 %JRE_HOME%\\bin，无需修改。";

inline constexpr wchar_t causeAccessDenied[] =
    L"系统拒绝修改系统环境变量：需要管理员权限。请关闭本工具，右键点击它并选择“以管理员身份运行”，再配置一次。";
inline constexpr wchar_t causeShellUnavailable[] =
    L"无法创建 Windows 脚本宿主（Windows Script Host）的 WScript.Shell 对象，它可能未安装或已被禁用，"
    L"因此无法写入环境变量。";
inline constexpr wchar_t causePathUnreadable[] =
    L"无法读取系统变量 PATH（错误代码 {code}）。为避免破坏 PATH，没有写入它。";
inline constexpr wchar_t causePathEmpty[] =
    L"系统变量 PATH 为空或不存在。为避免用 Java 的条目替换整个 PATH，没有写入它。";
inline constexpr wchar_t causeOtherError[] = L"写入 {name} 失败（错误代码 {code}）。";

}  // namespace strings
