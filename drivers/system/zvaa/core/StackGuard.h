// The stack protector's canary and failure handlers, in place of the compiler runtime's. That one
// seeds the canary through the cryptographic service provider at every load, which pulls three more
// libraries into the process each time the driver loads the plug-in.
#pragma once

// Seeds the canary at process attach, before any protected function of the library runs.
void InitStackGuard();
