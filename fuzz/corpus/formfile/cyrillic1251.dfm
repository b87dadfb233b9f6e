object Form1: TForm
  Caption = 'Привет '#1055
  Font.Charset = RUSSIAN_CHARSET
  Position = poMainFormCenter
  object Label1: TLabel
    Caption = 'Да'
    Font.Charset = 204
  end
end
