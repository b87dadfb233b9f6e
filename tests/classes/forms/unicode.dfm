object frmÜbersicht: TTestForm
  Caption = 'Grüße – Привет – Καλημέρα'
  object btnÖffnen: TWidget
    Caption = #1055#1088#1080#1074#1077#1090' '#8364
  end
  object Größe: TWidget
    Caption = 'français'
  end
end
