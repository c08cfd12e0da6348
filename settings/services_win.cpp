#include "settings/services_win.h"

#include "devinfo/difm_loader_win.h"
#include "settings/printer_store_win.h"

namespace vq {

const DriverServices& Services() {
  static Win32Spooler spooler;
  static const DriverServices services{&DeviceInfoApi(), &spooler};
  return services;
}

}  // namespace vq
