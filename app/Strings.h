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

// ---- Folder check, console check, elevation and the command line ----
// "{folder}", "{home}", "{name}", "{code}" and "{argument}" are filled in where
// the texts are used.

inline constexpr wchar_t jdkProposeHome[] =
    L"“{folder}”不是JDK的安装目录，而是JDK的 bin 文件夹或其中的 java 程序。\n\n"
    L"要改为配置JDK的安装目录“{home}”吗？\n\n"
    L"是：改用该目录；否：仍按输入的路径配置；取消：不写入任何环境变量。";
inline constexpr wchar_t jdkFolderMissing[] = L"文件夹“{folder}”不存在。";
inline constexpr wchar_t jdkFolderIsFile[] = L"“{folder}”是一个文件，不是JDK的安装目录。";
inline constexpr wchar_t jdkFolderWithoutJava[] = L"文件夹“{folder}”中没有 bin\\java.exe，它不是JDK的安装目录。";
inline constexpr wchar_t jdkFolderInsideHome[] = L"“{folder}”是JDK的 bin 文件夹或其中的 java 程序，JDK的安装目录是“{home}”。";
inline constexpr wchar_t jdkWarningChoice[] = L"\n\n确定：仍按输入的路径配置；取消：不写入任何环境变量。";

inline constexpr wchar_t variablesWrittenButConsoleDiffers[] = L"环境变量已写入，但";
inline constexpr wchar_t consoleRunsJavaHome[] = L"新打开的命令行窗口会运行 {folder}\\java.exe，即 JAVA_HOME 的 bin 文件夹中的 Java。";
inline constexpr wchar_t consoleRunsEarlierEntry[] =
    L"新打开的命令行窗口会运行 {folder}\\java.exe：PATH 中的这个文件夹排在 %JAVA_HOME%\\bin 之前，"
    L"请把它从系统变量 PATH 中删除或移到后面。";
inline constexpr wchar_t consoleRunsUserJavaHome[] =
    L"新打开的命令行窗口会使用 {folder} 中的 Java：用户环境变量 JAVA_HOME 指向别处，它优先于系统变量，"
    L"请删除这个用户变量。";
inline constexpr wchar_t consoleRunsUserPathEntry[] =
    L"新打开的命令行窗口会运行 {folder}\\java.exe：它来自用户环境变量 PATH，而 JAVA_HOME 的 bin 文件夹中没有 java.exe。";
inline constexpr wchar_t consoleFindsNoJava[] =
    L"新打开的命令行窗口找不到 java.exe：PATH 中没有一个文件夹含有它。";

inline constexpr wchar_t elevationQuestion[] = L"\n\n要以管理员身份再试一次吗？";
inline constexpr wchar_t elevationNotStarted[] =
    L"没有以管理员身份运行（已取消或无法启动，错误代码 {code}）。环境变量没有改变。";
inline constexpr wchar_t elevatedStillRefused[] = L"以管理员身份运行后，系统仍然拒绝写入环境变量。";
inline constexpr wchar_t elevatedPartlyWritten[] =
    L"以管理员身份运行后，只写入了部分环境变量。请以管理员身份运行命令 zovrel-javaenv.exe --show 查看当前的设置。";
inline constexpr wchar_t elevatedFailed[] = L"以管理员身份运行的配置没有完成（退出代码 {code}）。";

inline constexpr wchar_t lineWritten[] = L"{name}：已写入。";
inline constexpr wchar_t lineUpToDate[] = L"{name}：已包含 %JAVA_HOME%\\bin 和 %JRE_HOME%\\bin，未修改。";
inline constexpr wchar_t lineNotWritten[] = L"{name}：未写入。";
inline constexpr wchar_t lineFolderRefused[] = L"没有写入任何环境变量。如确实要配置该路径，请加上 --force。";
inline constexpr wchar_t lineUnknownArgument[] = L"无法识别的参数或缺少参数值：{argument}";
inline constexpr wchar_t lineShowScopeMachine[] = L"系统";
inline constexpr wchar_t lineShowScopeUser[] = L"用户";
inline constexpr wchar_t lineShowVariable[] = L"{scope} {name} = {value}";
inline constexpr wchar_t lineShowNotSet[] = L"（未设置）";
inline constexpr wchar_t lineShowPath[] = L"{scope} PATH：";
inline constexpr wchar_t usage[] =
    L"用法：\n"
    L"  zovrel-javaenv.exe --java-home <JDK目录> [--force] [--quiet]\n"
    L"      把 JAVA_HOME、JRE_HOME 和 PATH 写入系统环境变量（需要管理员权限），不显示窗口。\n"
    L"      --force  JDK目录检查不通过时仍然写入；--quiet  不输出任何内容。\n"
    L"  zovrel-javaenv.exe --show\n"
    L"      显示系统和用户的 JAVA_HOME、JRE_HOME、PATH，以及新打开的命令行窗口会运行哪个 java.exe。\n"
    L"  zovrel-javaenv.exe --help\n"
    L"      显示本说明。\n"
    L"不带参数启动时显示窗口。\n"
    L"退出代码：0 全部写入；1 用法或输入错误；2 没有写入任何变量（需要管理员权限）；\n"
    L"  3 Windows 脚本宿主的 WScript.Shell 对象不可用；4 只写入了部分变量；5 JDK目录检查不通过（未使用 --force）。";

}  // namespace strings
