// The standard self-registration entry points of an in-process automation server.
// Registration holds no logic of its own: clients create the classes directly.

extern "C" {

__attribute__((visibility("default"))) long DllRegisterServer() {
    return 0;
}
__attribute__((visibility("default"))) long DllUnregisterServer() {
    return 0;
}
__attribute__((visibility("default"))) long DllCanUnloadNow() {
    return 0;
}
}
