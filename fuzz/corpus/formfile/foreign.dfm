object frmOrders: TfrmOrders
  Caption = #55356#57225' orders '#$D83D#$DE00
  Position = poOwnerFormCenter
  OnCreate = FormCreate
  object edtTotal: TEdit
    TabOrder = 2
    PasswordChar = #8226
    OnChange = edtTotalChange
  end
  object edtCode: TEdit
    TabOrder = 0
    PasswordChar = '*'
    CharCase = ecTitleCase
  end
  object Edit3: TEdit
    TabOrder = 1
    PasswordChar = 42
  end
  object cdsCities: TClientDataSet
    EditValue = 0c
    Rate = 1.5s
  end
  object dsCities: TDataSource
    DataSet = cdsCities
  end
end
