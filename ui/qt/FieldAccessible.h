#pragma once

// What assistive technology sees of the read-only line fields and the links: a field that shows
// text it cannot change, and a link with a press that opens its target.
void InstallFieldAccessibles();
