# The common start of the protocol tests: a data folder with the shipped
# template and filled-in settings, a three-value series of which the last
# did not break down, run to its end.

PROTOCOL_NUMBER=77
PROTOCOL_ORG_LINE1="ООО Лаборатория масел"
PROTOCOL_ORG_LINE2="г. Тверь"

protocol_prepare_and_run_series() {
  e2e_sim_config measurement_count=3 voltages=45.2,47.0,120 max_voltage=1000
  # A grave accent is how the settings file keeps a line break.
  e2e_write_ini "[Programm]" "FirstRun=0" \
    "OrganisationName=$PROTOCOL_ORG_LINE1\`$PROTOCOL_ORG_LINE2" \
    "PriborSerialNumber=K2V000017" "Direktor=Начальник лаборатории" "DirektorName=Иванов И.И." \
    "String0=$PROTOCOL_NUMBER" "String1=Масло ГК" "String2=ГОСТ 6581-75" "String3=Трансформатор Т-1" \
    "String4=1 декабря 2026 г." "String5=Прозрачное" "String6=20 °C" "String7=22 °C" "String8=45 %" \
    "String9=Отстой 30 мин" "String10=7 декабря 2026 г." "String11=Инженер" "String12=Петров П.П."
  install_protocol_template "$E2E_DATA" || e2e_abort "template not installed"
  e2e_start
  ui_must find "$E2E_CAPTION" 60 wait-text status "Проведено измерений" 60 sleep 2 click 170 wait-text status "Проведено измерений 3" 180 wait-enabled 172 1 60 sleep 3 wait-enabled 172 1 30
  e2e_log "series finished"
}
