#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Vietnamese asks politely with "Vui lòng …" and says "firmware" and "cập nhật", as Vietnamese
// printer manuals do; the printer's keys stand in “…”. Every letter is precomposed (NFC), with the
// tone mark placed as Windows' Vietnamese texts place it ("Hủy", not "Huỷ"): a decomposed letter
// may show as a letter and a loose mark in the window's font. The face is Tahoma, which carries
// Vietnamese's letters on every Windows; Linux's stand-in for Times New Roman lacks some.
constexpr std::array<LangTextEntry, 44> kVietnameseTexts{{
    {TXT_TITLE, L"Công cụ cập nhật firmware Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Vui lòng khởi động lại máy in để cập nhật lại, hoặc liên hệ bộ phận chăm sóc khách hàng "
     L"của Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Lưu ý: Trong quá trình cập nhật, vui lòng không thao tác trên máy in và máy tính."},
    {TXT_RESTART_PRINTER, L"Vui lòng khởi động lại máy in."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Máy in đã sẵn sàng để cập nhật, vui lòng xác nhận lại trên máy in:\r\n"
     L"1. Nhấn nút “Bắt đầu” (“Start”) để xác nhận cập nhật;\r\n"
     L"2. Nhấn nút “Hủy” (“Cancel”) để hủy cập nhật."},
    {TXT_NOT_READY,
     L"Nếu máy in chưa sẵn sàng, vui lòng đặt máy in về trạng thái sẵn sàng hoặc chế độ ngủ, rồi "
     L"chạy lại công cụ cập nhật."},
    {TXT_NOT_CONNECTED,
     L"Nếu máy in Viruzu chưa được kết nối, vui lòng kiểm tra xem cáp USB đã được cắm đúng cách "
     L"chưa."},
    {TXT_UPGRADING, L"Đang cập nhật firmware, vui lòng chờ\u2026"},
    {TXT_TRANSMITTING, L"Đang truyền dữ liệu, vui lòng chờ\u2026"},
    {TXT_SUCCEEDED, L"Cập nhật firmware thành công."},
    {TXT_FAILED, L"Cập nhật firmware không thành công."},
    {TXT_VERSION_HIGHER, L"Phiên bản firmware hiện tại của máy in cao hơn phiên bản cập nhật."},
    {TXT_VERSION_SAME, L"Phiên bản firmware hiện tại của máy in trùng với phiên bản cập nhật."},
    {TXT_CANCELED, L"Đã hủy cập nhật."},
    {TXT_STEPS,
     L"Lưu ý: Vui lòng không tắt máy in và máy tính trong khi cập nhật.\r\n"
     L"\r\n"
     L"\r\n"
     L"Các bước cập nhật như sau:\r\n"
     L"\r\n"
     L"1. Bật máy in và đặt máy in ở trạng thái sẵn sàng hoặc chế độ ngủ;\r\n"
     L"2. Dùng cáp USB để kết nối máy in với máy tính.\r\n"},
    {TXT_TIPS,
     L"Mẹo:\r\n"
     L"1. Mỗi lần, công cụ này chỉ cập nhật được một máy in Viruzu đang kết nối.\r\n"
     L"2. Các dòng máy in được phiên bản công cụ cập nhật này hỗ trợ:\r\n"},
    {TXT_COMPLETE, L"Hoàn tất"},
    {TXT_START, L"Bắt đầu cập nhật"},
    {TXT_EXIT, L"Thoát"},
    {TXT_FONT_FACE, L"Tahoma"},
    {TXT_CLOSE_ITEM, L"Đó&ng"},
    {TXT_NEW_DRIVER,
     L"Sau khi cập nhật firmware, máy in phải được dùng với trình điều khiển mới. Vui lòng xem "
     L"hướng dẫn sử dụng công cụ cập nhật."},
    {TXT_PORT_OCCUPIED, L"Cổng máy in đang bị chiếm dụng, không thể cập nhật firmware."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Có"},
    {TXT_NO, L"Không"},
    {TXT_FW_UNRECOGNIZED,
     L"Không thể nhận dạng firmware trong máy in, vui lòng liên hệ bộ phận chăm sóc khách hàng "
     L"của Viruzu."},
    {TXT_KEEP_POWER_ON, L"Vui lòng không tắt máy in trước khi cập nhật xong."},
    {TXT_PRINTER_IN_USE,
     L"Một phiên cập nhật khác đang chạy trên máy in này. Vui lòng chờ đến khi kết thúc rồi thử "
     L"lại."},
    {TXT_LOW_BATTERY, L"Pin máy tính sắp hết. Vui lòng cắm nguồn điện cho máy tính rồi thử lại."},
    {TXT_PRINTERS_NONE,
     L"Không tìm thấy máy in được hỗ trợ nào. Vui lòng bật máy in và kết nối máy in bằng cáp "
     L"USB."},
    {TXT_PRINTER_CHOSEN, L"Máy in cần cập nhật:"},
    {TXT_PRINTERS_CHOOSE, L"Có nhiều máy in đang được kết nối. Vui lòng chọn máy in cần cập nhật:"},
    {TXT_SERIAL, L"số sê-ri"},
    {TXT_PRINTER, L"Máy in:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"byte"},
    {TXT_TIME_LEFT, L"Thời gian còn lại:"},
    {TXT_FOLLOW_WAITING,
     L"Đang chờ máy in khởi động lại với firmware mới. Vui lòng không tắt máy in. Đã chờ:"},
    {TXT_FOLLOW_CURRENT, L"Máy in đã khởi động lại và đang chạy firmware mới:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Máy in đã khởi động lại nhưng không áp dụng firmware mới. Phiên bản đang chạy:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Máy in chưa kết nối lại trong vòng 10 phút. Có thể máy in vẫn đang ghi firmware: vui lòng "
     L"không tắt máy in và kiểm tra bảng điều khiển trước khi sử dụng."},
    {TXT_FOLLOW_UNKNOWN,
     L"Hai máy in đang kết nối cùng mang ID của máy in này, nên không thể đọc firmware hiện tại "
     L"của máy in. Vui lòng kiểm tra phiên bản trên bảng điều khiển của máy in."},
    {TXT_PRINTERS_ATTACHED, L"Máy in đang kết nối:"},
}};
static_assert(IsWellFormed(kVietnameseTexts));

}  // namespace

std::span<const LangTextEntry> VietnameseTexts() {
    return kVietnameseTexts;
}

}  // namespace fwup
