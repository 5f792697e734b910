// The control of the planted-DLL test: a program that imports wininet.dll
// the ordinary way, which Windows searches beside the program first.
#include <windows.h>
#include <wininet.h>

int main() {
  char url[64] = {};
  DWORD size = sizeof(url);
  return ::InternetCanonicalizeUrlA("http://localhost/", url, &size, 0) ? 0 : 1;
}
