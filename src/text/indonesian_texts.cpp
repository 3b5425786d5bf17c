#include <array>

#include "text/lang_table_check.h"
#include "text/lang_text.h"
#include "text/language_texts.h"

namespace fwup {
namespace {

// Indonesian keeps the formal register of Indonesian software and printer manuals: "Anda", and
// "Harap …" ("Harap jangan …") where English says "please", a plain imperative elsewhere. It
// says "firmware" and "pembaruan" / "memperbarui", and "mulai ulang" for restart as Windows
// does; the printer's keys stand in “…”.
constexpr std::array<LangTextEntry, 44> kIndonesianTexts{{
    {TXT_TITLE, L"Alat Pembaruan Firmware Viruzu"},
    {TXT_RETRY_OR_CONTACT,
     L"Harap mulai ulang printer untuk mengulangi pembaruan, atau hubungi layanan pelanggan "
     L"Viruzu."},
    {TXT_NOTICE_HANDS_OFF,
     L"Perhatian: Selama pembaruan, harap jangan mengoperasikan printer maupun komputer."},
    {TXT_RESTART_PRINTER, L"Harap mulai ulang printer."},
    {TXT_CONFIRM_ON_PRINTER,
     L"Printer siap diperbarui. Harap konfirmasi sekali lagi pada printer:\r\n"
     L"1. Tekan tombol “Mulai” (“Start”) untuk mengonfirmasi pembaruan;\r\n"
     L"2. Tekan tombol “Batal” (“Cancel”) untuk membatalkan pembaruan."},
    {TXT_NOT_READY,
     L"Jika printer belum siap, atur printer ke mode siap atau mode tidur, lalu jalankan kembali "
     L"alat pembaruan."},
    {TXT_NOT_CONNECTED,
     L"Jika printer Viruzu tidak terhubung, periksa apakah kabel USB sudah terpasang dengan "
     L"benar."},
    {TXT_UPGRADING, L"Firmware sedang diperbarui, harap tunggu\u2026"},
    {TXT_TRANSMITTING, L"Data sedang dikirim, harap tunggu\u2026"},
    {TXT_SUCCEEDED, L"Pembaruan firmware berhasil."},
    {TXT_FAILED, L"Pembaruan firmware gagal."},
    {TXT_VERSION_HIGHER,
     L"Versi firmware printer saat ini lebih tinggi daripada versi yang akan dipasang."},
    {TXT_VERSION_SAME, L"Versi firmware printer saat ini sama dengan versi yang akan dipasang."},
    {TXT_CANCELED, L"Pembaruan telah dibatalkan."},
    {TXT_STEPS,
     L"Perhatian: Harap jangan matikan printer dan komputer selama pembaruan.\r\n"
     L"\r\n"
     L"\r\n"
     L"Langkah-langkah pembaruan:\r\n"
     L"\r\n"
     L"1. Nyalakan printer, lalu atur ke mode siap atau mode tidur;\r\n"
     L"2. Hubungkan printer ke komputer dengan kabel USB.\r\n"},
    {TXT_TIPS,
     L"Catatan:\r\n"
     L"1. Alat ini hanya dapat memperbarui satu printer Viruzu yang terhubung dalam satu "
     L"waktu.\r\n"
     L"2. Seri printer yang didukung oleh versi alat pembaruan ini:\r\n"},
    {TXT_COMPLETE, L"Selesai"},
    {TXT_START, L"Mulai Pembaruan"},
    {TXT_EXIT, L"Keluar"},
    {TXT_FONT_FACE, L"Times New Roman"},
    {TXT_CLOSE_ITEM, L"&Tutup"},
    {TXT_NEW_DRIVER,
     L"Setelah pembaruan firmware, printer harus digunakan dengan driver baru. Untuk detailnya, "
     L"lihat panduan alat pembaruan."},
    {TXT_PORT_OCCUPIED, L"Port printer sedang digunakan, firmware tidak dapat diperbarui."},
    {TXT_CONFIRM, L"OK"},
    {TXT_YES, L"Ya"},
    {TXT_NO, L"Tidak"},
    {TXT_FW_UNRECOGNIZED,
     L"Firmware pada printer tidak dapat dikenali. Harap hubungi layanan pelanggan Viruzu."},
    {TXT_KEEP_POWER_ON, L"Harap jangan matikan printer sebelum pembaruan selesai."},
    {TXT_PRINTER_IN_USE,
     L"Pembaruan lain sedang berjalan pada printer ini. Tunggu hingga selesai, lalu coba lagi."},
    {TXT_LOW_BATTERY,
     L"Baterai komputer hampir habis. Sambungkan komputer ke sumber listrik, lalu coba lagi."},
    {TXT_PRINTERS_NONE,
     L"Tidak ditemukan printer yang didukung. Nyalakan printer, lalu hubungkan dengan kabel "
     L"USB."},
    {TXT_PRINTER_CHOSEN, L"Printer yang akan diperbarui:"},
    {TXT_PRINTERS_CHOOSE, L"Beberapa printer terhubung. Pilih printer yang akan diperbarui:"},
    {TXT_SERIAL, L"nomor seri"},
    {TXT_PRINTER, L"Printer:"},
    {TXT_FIRMWARE, L"Firmware:"},
    {TXT_BYTES, L"byte"},
    {TXT_TIME_LEFT, L"Sisa waktu:"},
    {TXT_FOLLOW_WAITING,
     L"Menunggu printer dimulai ulang dengan firmware baru. Jangan matikan printer. Waktu "
     L"tunggu:"},
    {TXT_FOLLOW_CURRENT, L"Printer telah dimulai ulang dan menjalankan firmware baru:"},
    {TXT_FOLLOW_NOT_TAKEN,
     L"Printer telah dimulai ulang, tetapi tidak menerapkan firmware baru. Versi yang berjalan:"},
    {TXT_FOLLOW_NOT_BACK,
     L"Printer belum terhubung kembali dalam 10 menit. Printer mungkin masih memasang firmware: "
     L"jangan matikan printer, dan periksa panel kontrolnya sebelum Anda menggunakannya."},
    {TXT_FOLLOW_UNKNOWN,
     L"Dua printer yang terhubung memiliki ID printer ini, sehingga firmware yang berjalan saat "
     L"ini tidak dapat dibaca. Periksa versinya pada panel kontrol printer."},
    {TXT_PRINTERS_ATTACHED, L"Printer yang terhubung:"},
}};
static_assert(IsWellFormed(kIndonesianTexts));

}  // namespace

std::span<const LangTextEntry> IndonesianTexts() {
    return kIndonesianTexts;
}

}  // namespace fwup
