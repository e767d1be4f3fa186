// Time from process start to the first paint of the main window: the framework's program next
// to a minimal Win32 program, run alternately, medians printed with their ratio.
#include "platform/base/CommandLine.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t *exe) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + exe;
}

// Milliseconds from CreateProcess to the child's first paint; negative on failure.
double TimeOne(const std::wstring &exe, int round) {
  std::string eventName =
      "QvStartupBench" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(round);
  HANDLE painted = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
  std::wstring cmd = L"\"" + exe + L"\" " + std::wstring(eventName.begin(), eventName.end());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(painted);
    return -1;
  }
  DWORD r = WaitForSingleObject(painted, 60000);
  QueryPerformanceCounter(&end);
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(painted);
  if (r != WAIT_OBJECT_0) return -1;
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

const char kUsage[] =
    "用法：startup_bench [ROUNDS]\n"
    "  轮流启动 startup_raw 和 startup_forms（在本程序旁边）ROUNDS 次（1 至 1000，默认 9），\n"
    "  打印到首次绘制的时间中位数和它们的比值\n"
    "选项：-h, --help 显示本说明；--version 显示版本\n";

int Measure(qv::TArguments &args) {
  const std::optional<std::string> count = args.TakeOptional();
  args.Finish();
  const int rounds = count ? qv::ParseWholeNumber("ROUNDS", *count, 1, 1000) : 9;
  std::wstring raw = Beside(L"startup_raw.exe"), forms = Beside(L"startup_forms.exe");
  std::vector<double> rawTimes, formTimes;
  TimeOne(raw, -1); // warm the caches once for both
  TimeOne(forms, -2);
  for (int i = 0; i < rounds; ++i) {
    double a = TimeOne(raw, 2 * i), b = TimeOne(forms, 2 * i + 1);
    if (a < 0 || b < 0) {
      std::fprintf(stderr, "startup: a child did not report its first paint\n");
      return 1;
    }
    rawTimes.push_back(a);
    formTimes.push_back(b);
  }
  double r = Median(rawTimes), f = Median(formTimes);
  std::printf("startup to first paint, median of %d runs\n", rounds);
  std::printf("  raw Win32 window:       %8.1f ms\n", r);
  std::printf("  form framework window:  %8.1f ms\n", f);
  std::printf("  ratio framework / raw:  %8.2f\n", f / r);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  return qv::TCommandLine("startup_bench", kUsage).Run(qv::ProgramArguments(argc, argv), Measure);
}
