#pragma once
// The module switches in section "Rack" of the settings file.

// 1 when the key of section "Rack" reads "YES" in any letter case (default "YES").
int read_module_switch(const char* key);
// Writes "YES" or "NO" to the key of section "Rack".
void write_module_switch(const char* key, int on);
